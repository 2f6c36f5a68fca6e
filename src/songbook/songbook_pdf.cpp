#include "songbook/songbook_pdf.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <unordered_set>

#include "platform/codepage.h"
#include "platform/progress.h"
#include "platform/sys_io.h"
#include "songbook/songbook_texts.h"

namespace dadaz {

namespace {

// A4 in points.
constexpr double kPageWidth = 595.276;
constexpr double kPageHeight = 841.890;
constexpr double kMargin = 36;
constexpr double kHeaderHeight = 24;
constexpr double kFooterHeight = 20;
constexpr double kColumnGap = 18;
constexpr double kCellPadding = 4;
// Of a column block's width left beside code and key, the title's share.
constexpr double kTitleShare = 0.58;
// Body text sizes by the number of column blocks on a page.
constexpr const char* kBodyFont[] = {"Loma 10", "Loma 8", "Loma 7"};
constexpr const char* kCaptionFont[] = {"Loma Bold 10", "Loma Bold 8", "Loma Bold 7"};
// The most of a column block's width a key cell takes.
constexpr double kMaxKeyShare = 0.2;
// Smaller sizes, against the body's, tried for a title or artist too long for its cell.
constexpr double kNarrowerScales[] = {0.9, 0.8};

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

struct FontDeleter {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
using Font = std::unique_ptr<PangoFontDescription, FontDeleter>;

Font font(const char* description) {
    return Font(pango_font_description_from_string(description));
}

// One drawn line of a page: a heading or a song row, its cells in reading order.
struct PlacedRow {
    std::vector<std::pair<double, Layout>> cells;  // x offset within the block, text
    double y = 0;
    int column = 0;
};

class BookWriter {
  public:
    BookWriter(cairo_t* cr, const SongBookOptions& options,
               const std::vector<SongBookEntry>& entries)
        : cr_(cr),
          context_(pango_cairo_create_context(cr)),
          columns_(std::clamp(options.columns, 1, kMaxSongBookColumns)),
          blockWidth_((kPageWidth - 2 * kMargin - (columns_ - 1) * kColumnGap) / columns_),
          body_(font(kBodyFont[columns_ - 1])),
          caption_(font(kCaptionFont[columns_ - 1])),
          heading_(font("Loma Bold 13")),
          footer_(font("Loma 9")) {
        // Codes of up to 8 digits and the keys of the book never wrap: their cells fit the
        // widest, a key cell up to a limit that leaves the title and artist room.
        const double code = widthOf("00000000") + kCellPadding;
        std::unordered_set<std::string_view> keys;
        for (const SongBookEntry& e : entries) keys.insert(e.key);
        double key = widthOf("Ebm");
        for (std::string_view k : keys) key = std::max(key, widthOf(cp874ToUtf8(k)));
        key = std::min(key + kCellPadding, blockWidth_ * kMaxKeyShare);
        const double title = (blockWidth_ - code - key) * kTitleShare;
        cellWidth_ = {code, title, blockWidth_ - code - key - title, key};
        captionHeight_ =
            heightOf(makeLayout(songbook_text::kTitleColumn, caption_.get(), -1).get());
        for (double scale : kNarrowerScales) {
            Font narrower(pango_font_description_copy(body_.get()));
            pango_font_description_set_size(
                narrower.get(),
                static_cast<int>(pango_font_description_get_size(body_.get()) * scale));
            narrowerBody_.push_back(std::move(narrower));
        }
    }
    ~BookWriter() { g_object_unref(context_); }
    BookWriter(const BookWriter&) = delete;
    BookWriter& operator=(const BookWriter&) = delete;

    int pages() const { return pages_; }

    void titlePage(std::size_t songs, SongBookOrder order) {
        const char* orderText = order == SongBookOrder::Artist ? songbook_text::kByArtist
                                : order == SongBookOrder::Code ? songbook_text::kByCode
                                                               : songbook_text::kByTitle;
        const Font big = font("Loma Bold 28");
        const Font medium = font("Loma 16");
        double y = kPageHeight / 3;
        for (const auto& [text, face] :
             {std::pair<std::string, const Font*>{songbook_text::kBookTitle, &big},
              {orderText, &medium},
              {formatCount(static_cast<long>(songs)) + " เพลง", &medium}}) {
            Layout layout = makeLayout(text, face->get(), kPageWidth - 2 * kMargin);
            pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
            cairo_move_to(cr_, kMargin, y);
            pango_cairo_show_layout(cr_, layout.get());
            y += heightOf(layout.get()) + 18;
        }
        cairo_show_page(cr_);
        ++pages_;
    }

    // A song's row, after the heading of a new first letter (UTF-8) when there is one; the
    // heading stays with the row.
    void song(const SongBookEntry& entry, const std::string* newHeading) {
        PlacedRow row;
        double x = 0;
        double height = 0;
        const std::string* fields[4] = {&entry.code, &entry.title, &entry.artist, &entry.key};
        for (int i = 0; i < 4; ++i) {
            const double width = cellWidth_[i];
            const std::string text = cp874ToUtf8(*fields[i]);
            Layout layout = makeLayout(text, body_.get(), width - kCellPadding);
            // A title or artist too long for its cell is set smaller before it wraps: a
            // wrapped cell copies out of the book in two pieces.
            for (std::size_t n = 0; (i == 1 || i == 2) && n < narrowerBody_.size() &&
                                    pango_layout_get_line_count(layout.get()) > 1;
                 ++n) {
                layout = makeLayout(text, narrowerBody_[n].get(), width - kCellPadding);
            }
            height = std::max(height, heightOf(layout.get()));
            row.cells.emplace_back(x, std::move(layout));
            x += width;
        }
        height += 2;
        if (newHeading) {
            PlacedRow headingRow;
            headingRow.cells.emplace_back(0, makeLayout(*newHeading, heading_.get(), blockWidth_));
            const double headingHeight = heightOf(headingRow.cells[0].second.get()) + 4;
            place(std::move(headingRow), headingHeight, height);
        }
        place(std::move(row), height, 0);
        // An empty title names nothing in the running header.
        if (!entry.title.empty()) pageTitles_.push_back(&entry.title);
    }

    void finish() {
        if (!rows_.empty()) flushPage();
    }

  private:
    void drawCaptions(double left) {
        const char* captions[4] = {songbook_text::kCodeColumn, songbook_text::kTitleColumn,
                                   songbook_text::kArtistColumn, songbook_text::kKeyColumn};
        double x = left;
        for (int i = 0; i < 4; ++i) {
            Layout layout = makeLayout(captions[i], caption_.get(), cellWidth_[i] - kCellPadding);
            cairo_move_to(cr_, x, kMargin + kHeaderHeight);
            pango_cairo_show_layout(cr_, layout.get());
            x += cellWidth_[i];
        }
    }

    Layout makeLayout(const std::string& text, const PangoFontDescription* face, double width) {
        Layout layout(pango_layout_new(context_));
        pango_layout_set_font_description(layout.get(), face);
        if (width > 0) pango_layout_set_width(layout.get(), static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
        pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
        return layout;
    }

    double widthOf(const std::string& text) {
        Layout layout = makeLayout(text, body_.get(), -1);
        int width = 0;
        int height = 0;
        pango_layout_get_size(layout.get(), &width, &height);
        return static_cast<double>(width) / PANGO_SCALE;
    }

    static double heightOf(PangoLayout* layout) {
        int width = 0;
        int height = 0;
        pango_layout_get_size(layout, &width, &height);
        return static_cast<double>(height) / PANGO_SCALE;
    }

    void place(PlacedRow row, double height, double keepWith) {
        const double top = kMargin + kHeaderHeight + captionHeight_ + 4;
        const double bottom = kPageHeight - kMargin - kFooterHeight;
        if (y_ == 0) y_ = top;
        if (y_ + height + keepWith > bottom && y_ > top) {
            if (++column_ == columns_) {
                flushPage();
                column_ = 0;
            }
            y_ = top;
        }
        row.y = y_;
        row.column = column_;
        y_ += height;
        rows_.push_back(std::move(row));
    }

    void flushPage() {
        ++pages_;
        if (!pageTitles_.empty()) {
            const std::string text = cp874ToUtf8(*pageTitles_.front()) +
                                     songbook_text::kHeaderDash + cp874ToUtf8(*pageTitles_.back());
            // Two long titles still fit in full: smaller type before a second line.
            Layout header;
            for (const Font& face : headerFonts_) {
                header = makeLayout(text, face.get(), kPageWidth - 2 * kMargin);
                if (pango_layout_get_line_count(header.get()) == 1) break;
            }
            pango_layout_set_alignment(header.get(), PANGO_ALIGN_CENTER);
            cairo_move_to(cr_, kMargin, kMargin);
            pango_cairo_show_layout(cr_, header.get());
            cairo_set_line_width(cr_, 0.5);
            cairo_move_to(cr_, kMargin, kMargin + kHeaderHeight - 4);
            cairo_line_to(cr_, kPageWidth - kMargin, kMargin + kHeaderHeight - 4);
            cairo_stroke(cr_);
        }
        int captioned = -1;
        for (const PlacedRow& row : rows_) {
            const double left = kMargin + row.column * (blockWidth_ + kColumnGap);
            // Each column block's captions come before its rows, so copied text reads in order.
            if (row.column != captioned) {
                captioned = row.column;
                drawCaptions(left);
            }
            for (const auto& [x, layout] : row.cells) {
                cairo_move_to(cr_, left + x, row.y);
                pango_cairo_show_layout(cr_, layout.get());
            }
        }
        Layout footer = makeLayout(songbook_text::kPage + std::to_string(pages_), footer_.get(),
                                   kPageWidth - 2 * kMargin);
        pango_layout_set_alignment(footer.get(), PANGO_ALIGN_CENTER);
        cairo_move_to(cr_, kMargin, kPageHeight - kMargin - kFooterHeight + 6);
        pango_cairo_show_layout(cr_, footer.get());
        cairo_show_page(cr_);
        rows_.clear();
        pageTitles_.clear();
    }

    cairo_t* cr_;
    PangoContext* context_;
    const int columns_;
    const double blockWidth_;
    Font body_;
    std::vector<Font> narrowerBody_;  // body_ at kNarrowerScales
    Font caption_;
    Font heading_;
    const std::array<Font, 4> headerFonts_{font("Loma Bold 9"), font("Loma Bold 8"),
                                           font("Loma Bold 7"), font("Loma Bold 6")};
    Font footer_;
    std::array<double, 4> cellWidth_{};
    double captionHeight_ = 0;
    std::vector<PlacedRow> rows_;
    std::vector<const std::string*> pageTitles_;
    int column_ = 0;
    double y_ = 0;
    int pages_ = 0;
};

}  // namespace

SongBookResult writeSongBook(const std::vector<SongBookEntry>& entries,
                             const SongBookOptions& options, const std::string& pdfPath,
                             const std::function<void(std::size_t)>& afterPage) {
    SongBookResult result;
    const std::string partPath = pdfPath + ".part";
    cairo_surface_t* surface = cairo_pdf_surface_create(partPath.c_str(), kPageWidth, kPageHeight);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, songbook_text::kBookTitle);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "DAD Azar Edizuda");
    cairo_t* cr = cairo_create(surface);
    {
        BookWriter writer(cr, options, entries);
        writer.titlePage(entries.size(), options.order);
        std::string lastHeading;
        int pagesSeen = writer.pages();
        for (std::size_t i = 0; i < entries.size() && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
             ++i) {
            const std::string letter = headingOf(orderedField(entries[i], options.order));
            const bool newHeading = i == 0 || letter != lastHeading;
            const std::string headingText = newHeading ? cp874ToUtf8(letter) : std::string();
            lastHeading = letter;
            writer.song(entries[i], newHeading ? &headingText : nullptr);
            if (afterPage && writer.pages() != pagesSeen) {
                pagesSeen = writer.pages();
                afterPage(i);
            }
        }
        writer.finish();
        result.pages = writer.pages();
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    result.written = ok && sys::rename(partPath.c_str(), pdfPath.c_str()) == 0;
    // Only a file of ours: a folder of that name is not.
    std::error_code ec;
    if (!result.written && std::filesystem::is_regular_file(partPath, ec)) {
        std::remove(partPath.c_str());
    }
    if (result.written && afterPage) afterPage(entries.size());
    return result;
}

}  // namespace dadaz
