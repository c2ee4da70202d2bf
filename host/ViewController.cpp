#include "ViewController.h"

#include "HelpViewController.h"
#include "WeakPlayerDelegate.h"

#include "Bundle.h"
#include "Console.h"
#include "DispatchQueue.h"
#include "FileManager.h"
#include "UIAlertAction.h"
#include "UIAlertController.h"
#include "UIDocumentPickerViewController.h"
#include "UIStoryboardSegue.h"
#include "ViewPinning.h"

namespace {

std::shared_ptr<UIButton> makeButton(std::string title, double x)
{
    auto button = std::make_shared<UIButton>(CGRect(x, 8, 88, 28));
    button->setTitle(std::move(title));
    return button;
}

} // namespace

void ViewController::loadView()
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 1024, 768));
    pluginView_ = std::make_shared<UIView>(CGRect(0, 44, 1024, 724));
    buttonUnit_ = makeButton("Unit", 8);
    buttonInfo_ = makeButton("Info", 104);
    buttonHelp_ = makeButton("Help", 200);
    playButton_ = makeButton("Play", 296);
    stopButton_ = makeButton("Stop", 296);
    buttonUnit_->addTarget([this](UIControl& sender) { onButtonUnit(&sender); }, UIControlEvents::touchUpInside);
    playButton_->addTarget([this](UIControl&) { onPlayButton(*playButton_); }, UIControlEvents::touchUpInside);
    stopButton_->addTarget([this](UIControl&) { onStopButton(*stopButton_); }, UIControlEvents::touchUpInside);
    for (const char* segue : {"ShowInfo", "ShowHelp"}) {
        addSegue(segue, [] { return std::make_shared<HelpViewController>(); });
    }
    buttonInfo_->addTarget([this](UIControl& sender) { performSegue("ShowInfo", &sender); },
                           UIControlEvents::touchUpInside);
    buttonHelp_->addTarget([this](UIControl& sender) { performSegue("ShowHelp", &sender); },
                           UIControlEvents::touchUpInside);
    for (const auto& view : {pluginView_, std::static_pointer_cast<UIView>(buttonUnit_),
                             std::static_pointer_cast<UIView>(buttonInfo_), std::static_pointer_cast<UIView>(buttonHelp_),
                             std::static_pointer_cast<UIView>(playButton_), std::static_pointer_cast<UIView>(stopButton_)}) {
        root->addSubview(view);
    }
    setView(root);
}

void ViewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    Console::print("Info: Main view controller loaded.");
    playButton_->setHidden(false);
    stopButton_->setHidden(true);
    const auto self = std::dynamic_pointer_cast<ViewController>(shared_from_this());
    audioUnitManager_ = AUExtensionManager::make(std::weak_ptr<AUExtensionManagerDelegate>(self));
    audioUnitManager_->auEngine()->setDelegate(std::make_shared<WeakPlayerDelegate>(self));
    pluginView_->setHidden(true);
    getDirectories();
}

void ViewController::onButtonUnit(const std::any&)
{
    pluginView_->setHidden(!pluginView_->isHidden());
}

void ViewController::onPlayButton(UIButton&)
{
    audioUnitManager_->togglePlayback();
}

void ViewController::onStopButton(UIButton&)
{
    audioUnitManager_->togglePlayback();
}

void ViewController::onPlayerStateChanged(bool playing)
{
    playButton_->setHidden(playing);
    stopButton_->setHidden(!playing);
}

void ViewController::onFileSelect(const std::string&) {}

void ViewController::onLoop(std::int64_t) {}

void ViewController::onEngineInitialized() {}

void ViewController::onFoundComponent(std::shared_ptr<AVAudioUnit> unit)
{
    Console::print("ViewController: Loading the audio unit's interface...");
    if (!unit) {
        Console::print("ERROR: The audio unit is not initialized to load the user interface.");
        return;
    }
    // Delivered on a worker thread; reading the controller's view loads it,
    // which is interface work, so the rest runs on the main queue.
    unit->auAudioUnit()->requestViewController(
        [weakSelf = std::weak_ptr<ViewController>(std::dynamic_pointer_cast<ViewController>(shared_from_this()))](
            std::shared_ptr<AUViewController> controller) {
            DispatchQueue::main().async([weakSelf, controller = std::move(controller)] {
                const auto self = weakSelf.lock();
                if (!self) {
                    Console::print("ERROR: Self is nil !?");
                    return;
                }
                self->showDeliveredController(controller);
            });
        });
}

void ViewController::showDeliveredController(const std::shared_ptr<UIViewController>& controller)
{
    if (!controller || !controller->view()) {
        Console::print("ERROR: Something is wrong with the view controller and view of the audio unit.");
        return;
    }
    embed(controller);
    controller->view()->setNeedsDisplay();
}

void ViewController::embed(const std::shared_ptr<UIViewController>& controller)
{
    const auto& view = controller->view();
    addChild(controller);
    view->setFrame(pluginView_->bounds());
    pluginView_->addSubview(view);
    pinToSuperviewEdges(*view);
    controller->didMove(shared_from_this());
}

void ViewController::embedPlugInView()
{
    const auto& controller = audioUnitManager_->viewController();
    if (!controller) {
        Console::print("ERROR: Could not load audio unit's view controller.");
        return;
    }
    if (controller->view()) {
        embed(controller);
    }
}

void ViewController::centerPluginView()
{
    resetPluginView(view()->bounds().width(), view()->bounds().height());
}

void ViewController::resetPluginView(double w, double h)
{
    if (!audioUnitViewController_) {
        Console::print("WARNING: Cannot reset the pluginview (yet).");
        return;
    }
    if (w < h) {
        const double width = h / 0.75;
        pluginView_->setFrame(CGRect(view()->bounds().width() * 0.5 - width * 0.5, 0, width, h));
        audioUnitViewController_->view()->setFrame(CGRect(0, 0, width, h));
    } else {
        const double height = w * 0.75;
        pluginView_->setFrame(CGRect(0, view()->bounds().height() * 0.5 - height * 0.5, w, height));
        audioUnitViewController_->view()->setFrame(CGRect(0, 0, w, height));
    }
    pluginView_->setNeedsDisplay();
}

void ViewController::openFilePicker()
{
    const auto picker = std::make_shared<UIDocumentPickerViewController>(std::vector<std::string>{"public.folder"},
                                                                         UIDocumentPickerMode::open);
    picker->setDelegate(std::dynamic_pointer_cast<UIDocumentPickerDelegate>(shared_from_this()));
    picker->setAllowsMultipleSelection(false);
    present(picker, true, [] {});
}

void ViewController::documentPicker(UIDocumentPickerViewController&, const std::vector<URL>& urls)
{
    std::string list = "[";
    for (const auto& url : urls) {
        list += (list.size() > 1 ? ", " : "") + url.absoluteString();
    }
    Console::print("documentPicker: " + list + "]");
    if (!urls.empty()) {
        Console::print("documentPicker (didPickDocumentsAt): " + urls.front().path());
    }
}

void ViewController::documentPicker(UIDocumentPickerViewController&, const URL& url)
{
    Console::print("documentPicker (didPickDocumentAt): " + url.path());
}

void ViewController::documentPickerWasCancelled(UIDocumentPickerViewController&)
{
    Console::print("The document picker was canceled.");
}

void ViewController::alertMessage(const std::string& title, const std::string& message)
{
    Console::print(title + ": " + message);
    const auto alert = std::make_shared<UIAlertController>(title, message, UIAlertControllerStyle::alert);
    alert->addAction(std::make_shared<UIAlertAction>("OK", UIAlertActionStyle::default_,
                                                     [](UIAlertAction&) { Console::print("Alert was confirmed."); }));
    alert->addAction(std::make_shared<UIAlertAction>("Cancel", UIAlertActionStyle::cancel,
                                                     [](UIAlertAction&) { Console::print("Alert was canceled."); }));
    present(alert, true, {});
}

void ViewController::prepare(UIStoryboardSegue& segue, const std::any&)
{
    const auto& identifier = segue.identifier();
    if (!identifier) {
        return;
    }
    Console::print(*identifier);
    if (*identifier == "ShowInfo" || *identifier == "ShowHelp") {
        if (const auto help = std::dynamic_pointer_cast<HelpViewController>(segue.destination())) {
            help->prepareInfo(*identifier);
        }
    }
}

void ViewController::getDirectories()
{
    const auto documents =
        FileManager::default_().urls(SearchPathDirectory::documentDirectory, SearchPathDomainMask::userDomainMask);
    if (documents.empty()) {
        Console::print("ViewController: Documents directory is nil.");
        return;
    }
    documentsPath_ = documents.front().path();
    Console::print("ViewController: The app's documents path is: " + documentsPath_);
    const auto resources = Bundle::main().resourceURL();
    if (!resources) {
        Console::print("ViewController: Resources folder is nil.");
        return;
    }
    resourcesPath_ = resources->path();
    Console::print("ViewController: The app's resources path is: " + resourcesPath_);
}
