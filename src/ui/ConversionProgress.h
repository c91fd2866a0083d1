// What a window shows while a conversion runs on its own thread: how many
// records the conversion has made, in the window's title ("Korrin File
// Conversion - 12,345 records"), and the window itself, kept painted.
//
// At most once an Interval(), Record() brings the title up to date and
// processes the events that paint, expose and resize windows (and timers);
// keys and mouse clicks stay queued until the conversion has returned, so
// that nothing the user does reaches the program meanwhile. The title is
// put back when the object goes.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class CDialog;

class ConversionProgress {
public:
    explicit ConversionProgress(CDialog& window);
    ~ConversionProgress();
    ConversionProgress(const ConversionProgress&) = delete;
    ConversionProgress& operator=(const ConversionProgress&) = delete;

    // One more record made.
    void Record();

    // The title while N records have been made.
    static std::string Title(const std::string& title, std::int64_t records);

    // 100 ms, or what a test sets (zero: at every record).
    static std::chrono::milliseconds Interval() { return s_interval; }
    static void SetInterval(std::chrono::milliseconds interval) { s_interval = interval; }

private:
    static inline std::chrono::milliseconds s_interval{100};

    CDialog& m_window;
    std::string m_title;
    std::int64_t m_records = 0;
    std::chrono::steady_clock::time_point m_shown;
};
