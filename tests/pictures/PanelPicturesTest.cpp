#include "ReferencePictures.h"

#include "CGContext.h"
#include "PluginFrameBaseEx.h"
#include "PluginFrameEx.h"
#include "ScaleRecords.h"
#include "UIGraphicsImageRenderer.h"
#include "UIScreen.h"
#include "UIWindow.h"
#include "VelmoraFlowViewBase.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class PanelPictures : public testing::Test {
protected:
    void SetUp() override
    {
        UIScreen::main().setScale(1);
        resetScaleRecords();
    }
    void TearDown() override { resetScaleRecords(); }

    // `drawing` into a transparent image of `size` at `scale`.
    static std::shared_ptr<UIImage> drawn(CGSize size, CGFloat scale, const std::function<void()>& drawing)
    {
        return UIGraphicsImageRenderer(size, scale).image([&](CGContext&) { drawing(); });
    }

    // The panel twice its design size over an opaque grey, as a person looks
    // at it; several of its fills are translucent.
    void expectPanel(const std::string& name)
    {
        const auto image = UIGraphicsImageRenderer({1200, 1320}, 1).image([&](CGContext& context) {
            context.setFillColor(UIColor(128 / 255.0, 1));
            context.fill({0, 0, 1200, 1320});
            panel.draw({0, 0, 1200, 1320});
        });
        expectReferencePicture(*image, name);
    }

    VelmoraFlowViewBase panel;
};

TEST_F(PanelPictures, PanelStates)
{
    expectPanel("panel-default");

    panel.valueHandle[32] = 1.0;
    panel.isKeySelected[60] = true;
    panel.isKeySelected[64] = true;
    panel.valueMix = 0;
    panel.isRangeLeftActive = true;
    panel.valueProcessingMode = 7;
    expectPanel("panel-keys-lit");

    panel.valueMix = 1;
    panel.isHandleSelected[32] = true;
    panel.valueHandle[32] = 0.5;
    panel.valueRangeLeft = 0.5;
    panel.isButtonModeMonoActive = true;
    panel.isSliderActive = true;
    expectPanel("panel-pressed");

    panel.valueOperationMode = 1;
    panel.valueProcessingMode = 3;
    panel.valueSpeedMode = 6;
    panel.isOptionRangeActive = true;
    panel.isFreezeSelected = true;
    panel.isButtonResetActive = true;
    panel.colorContrast = UIColor(0.6, 0.6, 0.6, 1);
    panel.colorContrastInverted = UIColor(0.4, 0.4, 0.4, 1);
    expectPanel("panel-modes-contrast");

    panel.isDrawerVisible = false;
    panel.isRangeVisible = false;
    panel.isCrossVisible = false;
    expectPanel("panel-hidden-items");
}

TEST_F(PanelPictures, PanelInEachResizingAtHalfAndDoubleScale)
{
    using Resizing = VelmoraFlowViewBase::ResizingBehavior1;
    const std::pair<Resizing, const char*> resizings[] = {
        {Resizing::aspectFit, "fit"}, {Resizing::aspectFill, "fill"}, {Resizing::stretch, "stretch"},
        {Resizing::center, "centre"}};
    for (const auto& [resizing, name] : resizings) {
        const auto image = drawn({600, 330}, 1, [&] { panel.draw({0, 0, 600, 330}, resizing); });
        expectReferencePicture(*image, std::string("panel-600x330-") + name);
    }
    const auto doubled = drawn({300, 330}, 2, [&] { panel.draw({0, 0, 300, 330}); });
    expectReferencePicture(*doubled, "panel-300x330-scale2");
}

TEST_F(PanelPictures, WidgetDrawers)
{
    using Resizing = VelmoraFlowViewBase::ResizingBehavior;
    panel.isKeySelected[3] = true;
    panel.isHandleSelected[5] = true;
    panel.valueHandle[5] = 0.9;
    const std::pair<const char*, std::function<void(CGRect)>> drawers[] = {
        {"keyboard", [&](CGRect frame) { panel.drawSymbolKeyboard(frame); }},
        {"option", [&](CGRect frame) { panel.drawSymbolOption(frame, Resizing::aspectFit, "option", false); }},
        {"option-active", [&](CGRect frame) { panel.drawSymbolOption(frame, Resizing::aspectFit, "fast", true); }},
        {"button", [&](CGRect frame) { panel.drawSymbolButton(frame, Resizing::aspectFit, "RESET", false); }},
        {"button-active", [&](CGRect frame) { panel.drawSymbolButton(frame, Resizing::aspectFit, "Freeze", true); }},
        {"mode-button", [&](CGRect frame) { panel.drawSymbolModeButton(frame, Resizing::aspectFit, "LEFT", false); }},
        {"mode-button-selected",
         [&](CGRect frame) { panel.drawSymbolModeButton(frame, Resizing::aspectFit, "LINKED", true); }},
        {"range-left", [&](CGRect frame) { panel.drawSymbolRangeLeft(frame, Resizing::stretch, true); }},
        {"range-right", [&](CGRect frame) { panel.drawSymbolRangeRight(frame, Resizing::stretch, false); }},
        {"handles", [&](CGRect frame) { panel.drawSymbolHandles(frame); }},
        {"slider", [&](CGRect frame) { panel.drawSymbolSlider(frame, Resizing::stretch, 0.3); }},
        {"reset", [&](CGRect frame) { panel.drawSymbolReset(frame, Resizing::aspectFit, true); }},
        {"round-button", [&](CGRect frame) { panel.drawSymbolRoundButton(frame, Resizing::aspectFit, "ON", true); }},
    };
    for (const auto& [name, draw] : drawers) {
        const auto image = drawn({240, 80}, 2, [&] { draw(CGRect(0, 0, 240, 80)); });
        expectReferencePicture(*image, std::string("drawer-") + name);
    }
}

TEST_F(PanelPictures, FramePlates)
{
    const auto window = std::make_shared<UIWindow>(CGRect(0, 0, 500, 400));
    const auto frame = std::make_shared<PluginFrameEx>(CGRect(50, 40, 400, 300));
    window->addSubview(frame);
    frame->setContrast(0.25f);
    window->displayIfNeeded();
    ASSERT_TRUE(frame->layerContents());
    expectReferencePicture(*frame->layerContents(), "frame-view");

    PluginFrameBaseEx base;
    for (const auto raw : {0, 1, 2, 3}) {
        const auto resizing = *PluginFrameBaseEx::ResizingBehavior::fromRaw(raw);
        const auto image = drawn({130, 90}, 2, [&] { base.draw(CGRect(10, 20, 100, 50), resizing); });
        expectReferencePicture(*image, "frame-resizing-" + std::to_string(raw));
    }
}

} // namespace
