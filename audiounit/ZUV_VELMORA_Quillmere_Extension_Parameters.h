#pragma once

#include <memory>
#include <vector>

#include "AUParameterTree.h"

class ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter;

// Builds the effect's tree of 652 parameters and binds it to the kernel in both
// directions: values set on the tree go to the kernel, values read come from it.
class ZUV_VELMORA_Quillmere_Extension_Parameters {
public:
    // Builds the tree, pushes every default into the kernel, holds the kernel's
    // automation to the tree's ranges, then binds the tree.
    explicit ZUV_VELMORA_Quillmere_Extension_Parameters(
        std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter> kernelAdapter);

    const std::shared_ptr<AUParameterTree>& parameterTree() const { return parameterTree_; }

    // The value held to the parameter's published range, as it may reach the
    // kernel. A value that is not finite is returned as it is: the kernel
    // ignores it.
    static AUValue heldToRange(const AUParameter& parameter, AUValue value);

private:
    void createParameters();
    void createGlobalGroup();
    void createBandGroups();
    void bind(const std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>& kernelAdapter);

    std::shared_ptr<AUParameterTree> parameterTree_;
    std::vector<std::shared_ptr<AUParameterGroup>> groups_;
};
