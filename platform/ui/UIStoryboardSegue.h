#pragma once

#include <memory>
#include <optional>
#include <string>

class UIViewController;

// A transition between two controllers that the interface file names. It is
// made for one transition and holds both controllers for that long.
class UIStoryboardSegue {
public:
    UIStoryboardSegue(std::optional<std::string> identifier, std::shared_ptr<UIViewController> source,
                      std::shared_ptr<UIViewController> destination);
    virtual ~UIStoryboardSegue() = default;
    UIStoryboardSegue(const UIStoryboardSegue&) = delete;
    UIStoryboardSegue& operator=(const UIStoryboardSegue&) = delete;

    // None for a segue the interface file left unnamed.
    const std::optional<std::string>& identifier() const { return identifier_; }
    const std::shared_ptr<UIViewController>& source() const { return source_; }
    const std::shared_ptr<UIViewController>& destination() const { return destination_; }

    // Presents the destination over the source.
    virtual void perform();

private:
    std::optional<std::string> identifier_;
    std::shared_ptr<UIViewController> source_;
    std::shared_ptr<UIViewController> destination_;
};
