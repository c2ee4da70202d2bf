#include "ConsolePrint.h"

#include "Console.h"
#include "DispatchQueue.h"

#include <string>

namespace {

void printOnMainQueue(std::string_view text)
{
    DispatchQueue::main().async([line = std::string(text)] { Console::print(line); });
}

} // namespace

void debugprint(std::string_view text)
{
    printOnMainQueue(text);
}

void safeprint(std::string_view text)
{
    printOnMainQueue(text);
}
