#pragma once

#include "ManualBlock.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _PangoLayout PangoLayout;

// Sets the manual's blocks on A4 pages of a PDF file: every block wrapped to
// the text area inside the margins, a new page whenever the next line does
// not fit, a heading moved to the next page when too little room is left for
// the text after it, and each page's number centred in the bottom margin.
class ManualTypesetter {
public:
    // A4 and 20 mm margins, in points.
    static constexpr double kPageWidth = 595.2756;
    static constexpr double kPageHeight = 841.8898;
    static constexpr double kMargin = 56.6929;

    // Writes the PDF file. Throws std::runtime_error when the file cannot be
    // written, std::invalid_argument when the blocks do not start with a title.
    static void write(const std::vector<ManualBlock>& blocks, const std::filesystem::path& pdf);

private:
    explicit ManualTypesetter(cairo_t* cairo) : cairo_(cairo) {}

    void place(const ManualBlock& block);
    // Draws the layout's lines from the cursor on, breaking pages between lines.
    void drawLines(PangoLayout* layout, double x);
    void drawBullet(PangoLayout* layout);
    void makeRoom(double height);
    void finishPage();
    std::unique_ptr<PangoLayout, void (*)(void*)> makeLayout(const char* font, const std::string& text,
                                                              double width) const;

    cairo_t* cairo_;
    double cursor_ = kMargin;
    int page_ = 1;
};
