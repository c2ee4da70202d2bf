#pragma once

#include <poppler.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// A PDF file read back: each page's size in points, its text, and the box of
// every character of that text (points, from the page's top left).
class PdfDocument {
public:
    struct Character {
        gunichar code;
        PopplerRectangle box;
    };
    struct Page {
        double width = 0;
        double height = 0;
        std::string text;
        std::vector<Character> characters;
    };

    explicit PdfDocument(const std::filesystem::path& path)
    {
        GError* error = nullptr;
        gchar* uri = g_filename_to_uri(std::filesystem::absolute(path).c_str(), nullptr, nullptr);
        PopplerDocument* document = poppler_document_new_from_file(uri, nullptr, &error);
        g_free(uri);
        if (!document) {
            const std::string message = error ? error->message : "unknown error";
            g_clear_error(&error);
            throw std::runtime_error(path.string() + ": " + message);
        }
        for (int index = 0; index < poppler_document_get_n_pages(document); ++index) {
            pages_.push_back(readPage(poppler_document_get_page(document, index)));
        }
        g_object_unref(document);
    }

    const std::vector<Page>& pages() const { return pages_; }

private:
    static Page readPage(PopplerPage* popplerPage)
    {
        Page page;
        poppler_page_get_size(popplerPage, &page.width, &page.height);
        gchar* text = poppler_page_get_text(popplerPage);
        page.text = text;
        PopplerRectangle* boxes = nullptr;
        guint count = 0;
        poppler_page_get_text_layout(popplerPage, &boxes, &count);
        // One box for each character of the text, in the text's order.
        const gchar* character = text;
        for (guint index = 0; index < count && *character; ++index, character = g_utf8_next_char(character)) {
            page.characters.push_back({g_utf8_get_char(character), boxes[index]});
        }
        g_free(boxes);
        g_free(text);
        g_object_unref(popplerPage);
        return page;
    }

    std::vector<Page> pages_;
};

// Every visible character of every page lies inside the page less `margin` on
// each side, except the page's number, which stands alone below the text area.
inline void expectTextInsideMargins(const PdfDocument& pdf, double margin)
{
    constexpr double kTolerance = 0.5;
    for (std::size_t index = 0; index < pdf.pages().size(); ++index) {
        const auto& page = pdf.pages()[index];
        const double bottom = page.height - margin;
        std::string footer;
        std::ostringstream outside;
        for (const auto& [code, box] : page.characters) {
            if (g_unichar_isspace(code)) {
                continue;
            }
            char utf8[8] = {};
            g_unichar_to_utf8(code, utf8);
            const bool inFooter = box.y1 >= bottom && box.y2 <= page.height;
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
