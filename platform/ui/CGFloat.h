#pragma once

// The toolkit's coordinate and component type.
using CGFloat = double;
