// The debug log's lines, newest first. Stored oldest first underneath, so that adding a line
// costs a constant however many the log holds (a formula in a loop can log millions).
#pragma once

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorlet {

class TLogLines {
  public:
    using value_type = std::string;
    using size_type = std::size_t;
    using iterator = std::vector<std::string>::reverse_iterator;
    using const_iterator = std::vector<std::string>::const_reverse_iterator;
    using reverse_iterator = std::vector<std::string>::iterator;
    using const_reverse_iterator = std::vector<std::string>::const_iterator;

    iterator begin() { return lines_.rbegin(); }
    iterator end() { return lines_.rend(); }
    const_iterator begin() const { return lines_.rbegin(); }
    const_iterator end() const { return lines_.rend(); }
    reverse_iterator rbegin() { return lines_.begin(); }
    reverse_iterator rend() { return lines_.end(); }
    const_reverse_iterator rbegin() const { return lines_.begin(); }
    const_reverse_iterator rend() const { return lines_.end(); }

    size_type size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    void clear() { lines_.clear(); }

    std::string& operator[](size_type i) { return lines_[lines_.size() - 1 - i]; }
    const std::string& operator[](size_type i) const { return lines_[lines_.size() - 1 - i]; }
    std::string& at(size_type i) { return i < size() ? (*this)[i] : OutOfRange(); }
    const std::string& at(size_type i) const { return i < size() ? (*this)[i] : OutOfRange(); }
    std::string& front() { return lines_.back(); }
    const std::string& front() const { return lines_.back(); }
    std::string& back() { return lines_.front(); }
    const std::string& back() const { return lines_.front(); }

    // Puts the lines [first, last), kept in their reading order, in front of all the others.
    template <typename It> void PushFront(It first, It last) {
        while (last != first)
            lines_.push_back(*--last);
    }

    // Puts the lines of `older` behind all the others, in their order; `older` is left empty.
    void TakeOlder(TLogLines& older) {
        older.lines_.insert(older.lines_.end(), std::make_move_iterator(lines_.begin()),
                            std::make_move_iterator(lines_.end()));
        lines_.swap(older.lines_);
        older.lines_.clear();
    }

    operator std::vector<std::string>() const { return {begin(), end()}; }
    friend bool operator==(const TLogLines& a, const std::vector<std::string>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const TLogLines& a, const TLogLines& b) { return a.lines_ == b.lines_; }

  private:
    [[noreturn]] static std::string& OutOfRange() { throw std::out_of_range("debug log line"); }
    std::vector<std::string> lines_;
};

} // namespace quorlet
