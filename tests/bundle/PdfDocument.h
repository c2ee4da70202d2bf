#pragma once

#include <poppler.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

// A PDF file read back: each page's size in points, its text, and the box of
// every character of that text (points, from the page's top left).
struct PdfPage {
    double width = 0;
    double height = 0;
    std::string text;
    std::vector<std::pair<gunichar, PopplerRectangle>> characters;
};

inline std::vector<PdfPage> readPdf(const std::filesystem::path& path)
{
    gchar* uri = g_filename_to_uri(std::filesystem::absolute(path).c_str(), nullptr, nullptr);
    PopplerDocument* document = poppler_document_new_from_file(uri, nullptr, nullptr);
    g_free(uri);
    std::vector<PdfPage> pages(document ? poppler_document_get_n_pages(document) : 0);
    for (int index = 0; index < static_cast<int>(pages.size()); ++index) {
        PopplerPage* page = poppler_document_get_page(document, index);
        poppler_page_get_size(page, &pages[index].width, &pages[index].height);
        gchar* text = poppler_page_get_text(page);
        pages[index].text = text;
        PopplerRectangle* boxes = nullptr;
        guint count = 0;
        poppler_page_get_text_layout(page, &boxes, &count);
        // One box for each character of the text, in the text's order.
        const gchar* character = text;
        for (guint box = 0; box < count && *character; ++box, character = g_utf8_next_char(character)) {
            pages[index].characters.emplace_back(g_utf8_get_char(character), boxes[box]);
        }
        g_free(boxes);
        g_free(text);
        g_object_unref(page);
    }
    if (document) {
        g_object_unref(document);
    }
    return pages;
}

// Every visible character of every page lies inside the page less `margin` on
// each side, except the page's number, which stands alone below the text area.
inline void expectTextInsideMargins(const std::vector<PdfPage>& pages, double margin)
{
    constexpr double kTolerance = 0.5;
    for (std::size_t index = 0; index < pages.size(); ++index) {
        const auto& page = pages[index];
        const double bottom = page.height - margin;
        std::string footer;
        std::ostringstream outside;
        for (const auto& [code, box] : page.characters) {
            char utf8[8] = {};
            g_unichar_to_utf8(code, utf8);
            const bool inFooter = box.y1 >= bottom && box.y2 <= page.height;
            if (g_unichar_isspace(code)) {
                continue;
            }
            if (inFooter) {
                footer += utf8;
            }
            if (box.x1 < margin - kTolerance || box.x2 > page.width - margin + kTolerance ||
                (!inFooter && (box.y1 < margin - kTolerance || box.y2 > bottom + kTolerance))) {
                outside << utf8 << " at (" << box.x1 << ", " << box.y1 << ")-(" << box.x2 << ", " << box.y2 << "); ";
            }
        }
        EXPECT_EQ(outside.str(), "") << "characters outside the margins of page " << index + 1;
        EXPECT_EQ(footer, std::to_string(index + 1)) << "the number of page " << index + 1;
    }
}
