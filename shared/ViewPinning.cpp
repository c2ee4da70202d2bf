#include "ViewPinning.h"

void pinToSuperviewEdges(UIView& view)
{
    const auto superview = view.superview();
    if (!superview) {
        return;
    }
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activate({
        view.topAnchor().constraint(superview->topAnchor()),
        view.leadingAnchor().constraint(superview->leadingAnchor()),
        view.bottomAnchor().constraint(superview->bottomAnchor()),
        view.trailingAnchor().constraint(superview->trailingAnchor()),
    });
}
