#pragma once

// The exit codes of the console program, as its help and the README list them.
enum class ExitCode {
    Done = 0,         // everything done
    SomeFailed = 1,   // some items failed, each named on standard error (or the run was stopped)
    UsageError = 2,   // bad command line: nothing was changed
    NothingToDo = 3,  // nothing to do, or nothing found
};

// What a command did with its items, summed up as its exit code.
class Tally {
public:
    void Done() { ++done_; }
    void Failed() { ++failed_; }
    // An item that needed nothing (already themed, not themed) counts toward neither.

    ExitCode Code() const {
        if (failed_ > 0) return ExitCode::SomeFailed;
        return done_ > 0 ? ExitCode::Done : ExitCode::NothingToDo;
    }

private:
    int done_ = 0;
    int failed_ = 0;
};
