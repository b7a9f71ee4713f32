// An ostream onto a C stdio stream. The tool writes through it instead of std::cout: the standard streams
// bring libstdc++'s file layer, whose 64-bit stat and wide-name calls the C runtime of Windows 9x and NT 4
// does not export.
#pragma once

#include <cstdio>
#include <ostream>
#include <streambuf>

namespace vurconf {

class StdioBuffer : public std::streambuf {
  public:
    explicit StdioBuffer(std::FILE* file) : file_(file) {}

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        return static_cast<std::streamsize>(std::fwrite(s, 1, static_cast<size_t>(n), file_));
    }
    int sync() override { return std::fflush(file_) == 0 ? 0 : -1; }

  private:
    std::FILE* file_;
};

class StdioStream : public std::ostream {
  public:
    explicit StdioStream(std::FILE* file) : std::ostream(nullptr), buffer_(file) { rdbuf(&buffer_); }
    ~StdioStream() override { flush(); }

  private:
    StdioBuffer buffer_;
};

} // namespace vurconf
