// Renders the manual's source text (see ManualSource.h) into a PDF file:
//   render_manual <source> <output.pdf>
#include "ManualSource.h"
#include "ManualTypesetter.h"

#include <exception>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: render_manual <source> <output.pdf>\n";
        return 2;
    }
    try {
        std::ifstream source(argv[1]);
        if (!source) {
            std::cerr << "render_manual: cannot read " << argv[1] << '\n';
            return 1;
        }
        ManualTypesetter::write(ManualSource::parse(source), argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "render_manual: " << argv[1] << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
