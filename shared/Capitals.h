#pragma once

#include <string>
#include <vector>

// 197 capital cities (UTF-8, all distinct), built on first use.
const std::vector<std::string>& capitals();
