#include "NSLayoutConstraint.h"

#include "Console.h"
#include "UIView.h"

void NSLayoutConstraint::activate(
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints)
{
    for (const auto& constraint : constraints) {
        if (constraint->active_) {
            continue;
        }
        const auto first = constraint->first_.view();
        const auto second = constraint->second_.view();
        const auto owner = first && second ? UIView::commonAncestor(first, second) : nullptr;
        if (!owner) {
            Console::print("NSLayoutConstraint::ERROR: A constraint between views without a "
                           "common ancestor cannot be activated.");
            continue;
        }
        constraint->active_ = true;
        owner->constraints_.push_back(constraint);
        owner->needsLayout_ = true;
    }
}
