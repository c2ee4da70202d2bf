#pragma once

#include "AUParameterNode.h"

#include <memory>
#include <string>
#include <vector>

class AUParameter;

// A named group of parameters and groups, kept in the order given.
class AUParameterGroup : public AUParameterNode {
public:
    AUParameterGroup(std::string identifier, std::string name, std::vector<std::shared_ptr<AUParameterNode>> children);

    const std::vector<std::shared_ptr<AUParameterNode>>& children() const { return children_; }
    // Every parameter below this group, depth first in child order.
    std::vector<std::shared_ptr<AUParameter>> allParameters() const;

private:
    void collectParameters(std::vector<std::shared_ptr<AUParameter>>& parameters) const;

    std::vector<std::shared_ptr<AUParameterNode>> children_;
};
