#include "../support/SamplePNG.h"
#include "../support/TemporaryFolder.h"
#include "Console.h"
#include "ImageLoading.h"
#include "ManualClock.h"
#include "URL.h"
#include "ViewPinning.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ImageLoadingTest : public ::testing::Test {
protected:
    std::string fileURLText(const std::string& name, const Data& content) const
    {
        const auto path = folder_.path() / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()),
                   static_cast<std::streamsize>(content.size()));
        return URL::fileURL(path).absoluteString();
    }

    TemporaryFolder folder_;
    ManualClock clock_;
    Console::Capture capture_;
    std::shared_ptr<UIImageView> view_ = std::make_shared<UIImageView>();
    std::shared_ptr<UIImage> previous_ = UIImage::fromData(kSamplePNG);
};

} // namespace

TEST(ViewPinning, PinnedViewFollowsItsSuperviewAtLayout)
{
    auto container = std::make_shared<UIView>(CGRect(0, 0, 640, 480));
    auto content = std::make_shared<UIView>(CGRect(10, 10, 50, 50));
    container->addSubview(content);
    pinToSuperviewEdges(*content);
    EXPECT_FALSE(content->translatesAutoresizingMaskIntoConstraints());
    EXPECT_EQ(container->constraints().size(), 4u);
    container->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRect(0, 0, 640, 480));
    container->setFrame(CGRect(0, 0, 300, 200));
    container->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRect(0, 0, 300, 200));

    auto alone = std::make_shared<UIView>(CGRect(1, 2, 3, 4));
    pinToSuperviewEdges(*alone);
    EXPECT_TRUE(alone->translatesAutoresizingMaskIntoConstraints());
    EXPECT_THAT(alone->constraints(), IsEmpty());
}

TEST_F(ImageLoadingTest, LoadFromSetsAValidImageFromTheMainQueueWithoutKeepingTheView)
{
    loadFrom(view_, fileURLText("ok.png", kSamplePNG));
    EXPECT_FALSE(view_->image());
    clock_.advance(0);
    ASSERT_TRUE(view_->image());
    EXPECT_EQ(view_->image()->size(), (CGSize{3, 2}));
    EXPECT_THAT(capture_.lines(), IsEmpty());

    std::weak_ptr<UIImageView> watch = view_;
    loadFrom(view_, fileURLText("ok.png", kSamplePNG));
    view_.reset();
    EXPECT_TRUE(watch.expired()) << "the load must not keep the view alive";
    clock_.advance(0);
    EXPECT_THAT(capture_.lines(), ElementsAre("UIImageView::loadFrom() : Could not assign image."));
}

TEST_F(ImageLoadingTest, LoadFromReportsEachFailureAndKeepsTheImage)
{
    view_->setImage(previous_);
    loadFrom(view_, "not a url");
    loadFrom(view_, fileURLText("text.png", Data{'t', 'e', 'x', 't'}));
    loadFrom(view_, URL::fileURL(folder_.path() / "missing.png").absoluteString());
    loadFrom(view_, "https://example.com/image.png");
    clock_.advance(0);
    EXPECT_EQ(view_->image(), previous_);
    EXPECT_THAT(capture_.lines(),
                ElementsAre("UIImageView::loadFrom() : Could not encode url string : not a url",
                            "UIImageView::loadFrom() : Could not assign image.",
                            "UIImageView::loadFrom() : Could not encode image data.",
                            "UIImageView::loadFrom() : Could not encode image data."));
}

TEST_F(ImageLoadingTest, GetImageFromURLStringKeepsTheViewAndClearsOnNonImages)
{
    getImageFromURLString(view_, "not a url");
    std::weak_ptr<UIImageView> watch = view_;
    auto view = std::exchange(view_, nullptr);
    getImageFromURLString(view, fileURLText("ok.png", kSamplePNG));
    view.reset();
    EXPECT_FALSE(watch.expired());
    clock_.advance(0);
    ASSERT_TRUE(watch.expired());

    view_ = std::make_shared<UIImageView>();
    view_->setImage(previous_);
    getImageFromURLString(view_, fileURLText("text.png", Data{'x'}));
    clock_.advance(0);
    EXPECT_FALSE(view_->image());
    EXPECT_THAT(capture_.lines(), IsEmpty());

    view_->setImage(previous_);
    getImageFromURLString(view_, "https://example.com/image.png");
    clock_.advance(0);
    EXPECT_EQ(view_->image(), previous_);
    EXPECT_THAT(capture_.lines(), ElementsAre(::testing::HasSubstr("https://example.com/image.png")));
}
