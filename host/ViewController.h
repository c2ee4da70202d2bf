#pragma once

#include "AUEnginePlayerDelegate.h"
#include "AUExtensionManager.h"
#include "AUExtensionManagerDelegate.h"

#include "UIButton.h"
#include "UIDocumentPickerDelegate.h"
#include "UIViewController.h"

#include <any>
#include <memory>
#include <string>

// The host's main screen: it creates the component locator when its view has
// loaded, embeds the effect's own view when the effect is connected, toggles
// playback with its play and stop buttons, and leads to the help screen.
class ViewController : public UIViewController,
                       public AUEnginePlayerDelegate,
                       public AUExtensionManagerDelegate,
                       public UIDocumentPickerDelegate {
public:
    void onFoundComponent(std::shared_ptr<AVAudioUnit> unit) override;
    void onEngineInitialized() override;
    void onPlayerStateChanged(bool playing) override;
    void onFileSelect(const std::string& file) override;
    void onLoop(std::int64_t count) override;

    const std::shared_ptr<AUExtensionManager>& audioUnitManager() const { return audioUnitManager_; }
    const std::shared_ptr<UIView>& pluginView() const { return pluginView_; }
    const std::shared_ptr<UIButton>& buttonUnit() const { return buttonUnit_; }
    const std::shared_ptr<UIButton>& buttonInfo() const { return buttonInfo_; }
    const std::shared_ptr<UIButton>& buttonHelp() const { return buttonHelp_; }
    const std::shared_ptr<UIButton>& playButton() const { return playButton_; }
    const std::shared_ptr<UIButton>& stopButton() const { return stopButton_; }
    void onButtonUnit(const std::any& sender);
    void onPlayButton(UIButton& sender);
    void onStopButton(UIButton& sender);

    void centerPluginView();

    // Lets the user pick a folder to open in place.
    void openFilePicker();
    void documentPicker(UIDocumentPickerViewController& picker, const std::vector<URL>& urls) override;
    void documentPicker(UIDocumentPickerViewController& picker, const URL& url) override;
    void documentPickerWasCancelled(UIDocumentPickerViewController& picker) override;
    // Shows a message with "OK" and "Cancel" answers.
    void alertMessage(const std::string& title, const std::string& message);

    const std::string& documentsPath() const { return documentsPath_; }
    const std::string& resourcesPath() const { return resourcesPath_; }
    const std::shared_ptr<UIViewController>& audioUnitViewController() const { return audioUnitViewController_; }
    void setAudioUnitViewController(std::shared_ptr<UIViewController> controller)
    {
        audioUnitViewController_ = std::move(controller);
    }

protected:
    // The main interface: the plug-in container and the five buttons, whose
    // info and help buttons take the "ShowInfo" and "ShowHelp" segues.
    void loadView() override;
    void viewDidLoad() override;
    void prepare(UIStoryboardSegue& segue, const std::any& sender) override;

private:
    void embedPlugInView();
    void embed(const std::shared_ptr<UIViewController>& controller);
    void showDeliveredController(const std::shared_ptr<UIViewController>& controller);
    void resetPluginView(double w, double h);
    void getDirectories();

    std::shared_ptr<AUExtensionManager> audioUnitManager_;
    std::shared_ptr<UIView> pluginView_;
    std::shared_ptr<UIButton> buttonUnit_;
    std::shared_ptr<UIButton> buttonInfo_;
    std::shared_ptr<UIButton> buttonHelp_;
    std::shared_ptr<UIButton> playButton_;
    std::shared_ptr<UIButton> stopButton_;
    std::string documentsPath_;
    std::string resourcesPath_;
    std::shared_ptr<UIViewController> audioUnitViewController_;
};
