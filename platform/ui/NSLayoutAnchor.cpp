#include "NSLayoutAnchor.h"

#include "NSLayoutConstraint.h"

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraint(const NSLayoutAnchor& other,
                                                               CGFloat constant) const
{
    return std::make_shared<NSLayoutConstraint>(*this, other, constant);
}
