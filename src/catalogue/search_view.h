#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <deque>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dadaz {

// The lines a result list shows (code page 874): song lines of the catalogue, held by
// reference with the catalogue pages they come from kept alive, and lines of its own (the
// separator, lyric search results, lines set by hand). A search thus lists 30,000 songs
// without copying one; a line is converted for display only when it is drawn.
class SongLines {
  public:
    class const_iterator {
      public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string*;
        using reference = const std::string&;

        const_iterator() = default;
        explicit const_iterator(const std::string* const* at) : at_(at) {}
        reference operator*() const { return **at_; }
        pointer operator->() const { return *at_; }
        reference operator[](difference_type n) const { return *at_[n]; }
        const_iterator& operator++() { return ++at_, *this; }
        const_iterator operator++(int) { return const_iterator(at_++); }
        const_iterator& operator--() { return --at_, *this; }
        const_iterator operator--(int) { return const_iterator(at_--); }
        const_iterator& operator+=(difference_type n) { return at_ += n, *this; }
        const_iterator& operator-=(difference_type n) { return at_ -= n, *this; }
        friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
        friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
        friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const_iterator a, const_iterator b) {
            return a.at_ - b.at_;
        }
        friend auto operator<=>(const_iterator, const_iterator) = default;

      private:
        const std::string* const* at_ = nullptr;
    };

    SongLines() = default;
    // Lines of its own (a list set by hand); implicit, so a plain list of lines can stand in.
    SongLines(std::vector<std::string> lines) {
        for (auto& line : lines) addCopy(std::move(line));
    }

    // `owner` keeps alive the lines added by reference.
    void keepAlive(std::shared_ptr<const void> owner) {
        if (owner && (owners_.empty() || owners_.back() != owner)) {
            owners_.push_back(std::move(owner));
        }
    }
    // A line that lives as long as an owner given to keepAlive.
    void addReference(const std::string& line) { lines_.push_back(&line); }
    void addCopy(std::string line) {
        if (!own_) own_ = std::make_shared<std::deque<std::string>>();
        lines_.push_back(&own_->emplace_back(std::move(line)));
    }
    void reserve(std::size_t count) { lines_.reserve(count); }
    // Line `i` becomes a line of its own with new text; the catalogue line it showed stays.
    void replace(std::size_t i, std::string line) {
        if (!own_) own_ = std::make_shared<std::deque<std::string>>();
        lines_[i] = &own_->emplace_back(std::move(line));
    }
    // Drops the lines at `sortedRows` (ascending, each once) in one pass.
    void erase(const std::vector<int>& sortedRows) {
        std::size_t kept = 0, next = 0;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (next < sortedRows.size() && static_cast<std::size_t>(sortedRows[next]) == i) {
                ++next;
                continue;
            }
            lines_[kept++] = lines_[i];
        }
        lines_.resize(kept);
    }

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::string& operator[](std::size_t i) const { return *lines_[i]; }
    const std::string& front() const { return *lines_.front(); }
    const std::string& back() const { return *lines_.back(); }
    const_iterator begin() const { return const_iterator(lines_.data()); }
    const_iterator end() const { return const_iterator(lines_.data() + lines_.size()); }

    std::vector<std::string> copies() const { return {begin(), end()}; }
    friend bool operator==(const SongLines& a, const std::vector<std::string>& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }

  private:
    std::vector<const std::string*> lines_;
    std::vector<std::shared_ptr<const void>> owners_;
    // Shared by copies; a deque never moves its lines when it grows.
    std::shared_ptr<std::deque<std::string>> own_;
};

// What the search panel shows while the catalogue loads or a search runs. The window
// implements it over its controls, tests record it, the command-line tool ignores it. The
// final state of a search (result lines, counts, page controls, options) comes back as the
// search's result instead.
class SearchView {
  public:
    virtual ~SearchView() = default;
    // lblSongSearchResult shows `text` (UTF-8) and is made visible.
    virtual void showResultLine(const std::string& text) { (void)text; }
    virtual void hideResultLine() {}
    // Loading begins: the artist box is hidden and emptied and the result list placed at the
    // top of the panel; the result list is emptied; the blinking notice (Timer2) starts and
    // btnCancelSearch shows.
    virtual void loadingStarted() {}
    // Loading ends: the blinking notice stops and txtLoadingSong hides.
    virtual void loadingEnded() {}
    // A search begins: the result list is disabled and emptied, btnCancelSearch shows, both
    // options are disabled; for a query that is not empty the page controls hide.
    virtual void searchStarted(bool browsing) { (void)browsing; }
    // The artist list begins: cboArtist shows with the text "กรุณารอสักครู่..." and the result
    // list moves below it.
    virtual void artistListStarted() {}
};

}  // namespace dadaz
