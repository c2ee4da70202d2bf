#include "AUParameterNode.h"

#include <utility>

AUParameterNode::AUParameterNode(std::string identifier, std::string displayName)
    : identifier_(std::move(identifier))
    , displayName_(std::move(displayName))
{
}
