// Where the tool writes its texts: standard output and error, or a string in the tests. A small class of its
// own instead of std::ostream, whose locale and facet machinery made up more than half of the program.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

namespace vurconf {

class TextOut {
  public:
    virtual ~TextOut() = default;
    virtual void Write(const char* text, std::size_t length) = 0;

    TextOut& operator<<(const std::string& text) {
        Write(text.data(), text.size());
        return *this;
    }
    TextOut& operator<<(const char* text) { return *this << std::string(text); }
    TextOut& operator<<(char c) {
        Write(&c, 1);
        return *this;
    }
    // Whole numbers in decimal, as a stream writes them by default.
    template <typename Number, typename = std::enable_if_t<std::is_integral_v<Number>>>
    TextOut& operator<<(Number number) {
        char digits[24];
        char* at = digits + sizeof digits;
        const bool negative = number < 0;
        unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(number)
                                                : static_cast<unsigned long long>(number);
        do *--at = static_cast<char>('0' + magnitude % 10);
        while ((magnitude /= 10) != 0);
        if (negative) *--at = '-';
        Write(at, static_cast<std::size_t>(digits + sizeof digits - at));
        return *this;
    }
};

// Onto a C stdio stream (not std::cout: the standard streams bring libstdc++'s file layer, whose 64-bit stat
// and wide-name calls the C runtime of Windows 9x and NT 4 does not export).
class StdioOut : public TextOut {
  public:
    explicit StdioOut(std::FILE* file) : file_(file) {}
    ~StdioOut() override { std::fflush(file_); }
    void Write(const char* text, std::size_t length) override { std::fwrite(text, 1, length, file_); }

  private:
    std::FILE* file_;
};

class StringOut : public TextOut {
  public:
    void Write(const char* text, std::size_t length) override { text_.append(text, length); }
    const std::string& str() const { return text_; }

  private:
    std::string text_;
};

} // namespace vurconf
