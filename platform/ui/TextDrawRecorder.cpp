#include "TextDrawRecorder.h"


namespace {

std::vector<TextDrawRecorder*>& listening()
{
    thread_local std::vector<TextDrawRecorder*> recorders;
    return recorders;
}

} // namespace

TextDrawRecorder::TextDrawRecorder()
{
    listening().push_back(this);
}

TextDrawRecorder::~TextDrawRecorder()
{
    std::erase(listening(), this);
}

std::vector<std::string> TextDrawRecorder::strings() const
{
    std::vector<std::string> result;
    for (const auto& draw : draws_) {
        result.push_back(draw.string);
    }
    return result;
}

void TextDrawRecorder::record(const TextDraw& draw)
{
    if (!listening().empty()) {
        listening().back()->draws_.push_back(draw);
    }
}
