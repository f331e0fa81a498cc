#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Throttle.h"

// Text for a standard handle. A console gets UTF-16 through its own call, so that every character
// shows; a file or a pipe gets UTF-8, so that any path survives there. Lines end in CR LF.
class OutputStream {
public:
    // A file or pipe is written in blocks, and at the end of a line at least every quarter of a
    // second, so that whoever reads it sees the work go on; a console at once. No handle (a
    // program started without one) takes the text and drops it.
    explicit OutputStream(HANDLE handle);
    ~OutputStream() { Flush(); }
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    void Write(std::wstring_view text);
    void WriteLine(std::wstring_view text);
    void Flush();

private:
    HANDLE handle_;
    bool console_;
    std::string pending_;
    Throttle lineFlush_;
};

// Standard output for what a command did, standard error for what went wrong.
struct Streams {
    OutputStream& out;
    OutputStream& err;

    void Say(std::wstring_view line) { out.WriteLine(line); }
    // After everything said so far, so that both read in order where they go to one place.
    void Complain(std::wstring_view line) {
        out.Flush();
        err.WriteLine(line);
        err.Flush();
    }
};
