#pragma once

#include <string>

// A node of a parameter tree: a parameter or a group of nodes.
class AUParameterNode {
public:
    AUParameterNode(std::string identifier, std::string displayName);
    virtual ~AUParameterNode() = default;
    AUParameterNode(const AUParameterNode&) = delete;
    AUParameterNode& operator=(const AUParameterNode&) = delete;

    const std::string& identifier() const { return identifier_; }
    const std::string& displayName() const { return displayName_; }

private:
    std::string identifier_;
    std::string displayName_;
};
