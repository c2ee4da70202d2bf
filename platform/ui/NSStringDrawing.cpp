#include "NSStringDrawing.h"

#include "CGContext.h"
#include "TextDrawRecorder.h"
#include "TextLayout.h"
#include "UIGraphics.h"

CGRect boundingRect(const std::string& string, CGSize constrainedSize,
                    const NSStringAttributes& attributes)
{
    const TextLayout layout(string, constrainedSize.width, attributes);
    return CGRect({0, 0}, layout.size());
}

void draw(const std::string& string, CGRect rect, const NSStringAttributes& attributes)
{
    CGContext* context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    context->drawText(string, rect, attributes);
}
