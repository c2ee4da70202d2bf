#include "AUParameterGroup.h"

#include "AUParameter.h"

#include <utility>

AUParameterGroup::AUParameterGroup(std::string identifier, std::string name,
                                   std::vector<std::shared_ptr<AUParameterNode>> children)
    : AUParameterNode(std::move(identifier), std::move(name))
    , children_(std::move(children))
{
}

std::vector<std::shared_ptr<AUParameter>> AUParameterGroup::allParameters() const
{
    std::vector<std::shared_ptr<AUParameter>> parameters;
    collectParameters(parameters);
    return parameters;
}

void AUParameterGroup::collectParameters(std::vector<std::shared_ptr<AUParameter>>& parameters) const
{
    for (const auto& child : children_) {
        if (auto parameter = std::dynamic_pointer_cast<AUParameter>(child)) {
            parameters.push_back(std::move(parameter));
        } else if (const auto group = std::dynamic_pointer_cast<AUParameterGroup>(child)) {
            group->collectParameters(parameters);
        }
    }
}
