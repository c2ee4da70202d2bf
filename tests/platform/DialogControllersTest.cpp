#include "UIAlertAction.h"
#include "UIAlertController.h"
#include "UIDocumentPickerDelegate.h"
#include "UIDocumentPickerViewController.h"
#include "UITextField.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

class Picks : public UIDocumentPickerDelegate {
public:
    std::vector<std::string> heard;

    void documentPicker(UIDocumentPickerViewController& picker, const std::vector<URL>& urls) override
    {
        std::string line = picker.presentingViewController() ? "picked while shown:" : "picked:";
        for (const auto& url : urls) {
            line += ' ';
            line += url.lastPathComponent();
        }
        heard.push_back(line);
    }
    void documentPickerWasCancelled(UIDocumentPickerViewController&) override { heard.push_back("cancelled"); }
};

std::vector<URL> files(std::initializer_list<const char*> names)
{
    std::vector<URL> urls;
    for (const char* name : names) {
        urls.push_back(URL::fileURL(std::string("/tmp/") + name));
    }
    return urls;
}

} // namespace

TEST(UIAlertController, AnAnswerTakesTheAlertAwayBeforeItsHandlerRuns)
{
    const auto presenter = std::make_shared<UIViewController>();
    auto alert = std::make_shared<UIAlertController>("Title", "Message", UIAlertControllerStyle::alert);
    alert->addTextField([](UITextField& field) { field.setPlaceholder("name"); });
    std::vector<std::string> heard;
    const std::weak_ptr<UITextField> field = alert->textFields().front();
    alert->addAction(std::make_shared<UIAlertAction>("OK", UIAlertActionStyle::default_, [&](UIAlertAction& action) {
        heard.push_back(action.title() + " " + field.lock()->text() +
                        (presenter->presentedViewController() ? " shown" : " gone"));
    }));
    alert->addAction(std::make_shared<UIAlertAction>("Cancel", UIAlertActionStyle::cancel));
    EXPECT_EQ(alert->textFields().front()->placeholder(), "name");
    EXPECT_EQ(alert->actions()[1]->style(), UIAlertActionStyle::cancel);

    presenter->present(alert, true, {});
    alert->textFields().front()->setText("typed");
    const std::weak_ptr<UIAlertController> weakAlert = alert;
    alert.reset();
    weakAlert.lock()->choose(2);
    EXPECT_TRUE(heard.empty());
    weakAlert.lock()->choose(0);
    EXPECT_THAT(heard, ElementsAre("OK typed gone"));
    EXPECT_TRUE(weakAlert.expired());
}

TEST(UIDocumentPickerViewController, TellsItsDelegateOnceItIsGone)
{
    const auto presenter = std::make_shared<UIViewController>();
    const auto picks = std::make_shared<Picks>();
    const auto picker =
        std::make_shared<UIDocumentPickerViewController>(std::vector<std::string>{"public.data"}, UIDocumentPickerMode::import);
    EXPECT_FALSE(picker->allowsMultipleSelection());
    picker->setDelegate(picks);
    presenter->present(picker, true, {});
    // Without multiple selection only the first document counts.
    picker->pick(files({"a.txt", "b.txt"}));
    EXPECT_FALSE(presenter->presentedViewController());

    picker->setAllowsMultipleSelection(true);
    presenter->present(picker, true, {});
    picker->pick(files({"a.txt", "b.txt"}));
    presenter->present(picker, true, {});
    picker->cancel();
    EXPECT_THAT(picks->heard, ElementsAre("picked: a.txt", "picked: a.txt b.txt", "cancelled"));

    // The delegate is not kept alive by the picker.
    const std::weak_ptr<Picks> weakPicks = picks;
    picker->setDelegate(std::make_shared<Picks>());
    EXPECT_FALSE(picker->delegate());
}
