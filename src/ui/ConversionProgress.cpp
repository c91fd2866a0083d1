#include "ui/ConversionProgress.h"

#include "ui/platform/Busy.h"
#include "ui/platform/Dialog.h"

ConversionProgress::ConversionProgress(CDialog& window)
    : m_window(window),
      m_title(window.GetWindowText()),
      m_shown(std::chrono::steady_clock::now()) {}

ConversionProgress::~ConversionProgress() {
    m_window.SetWindowText(m_title);
}

void ConversionProgress::Record() {
    ++m_records;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_shown < s_interval) {
        return;
    }
    m_window.SetWindowText(Title(m_title, m_records));
    PumpPaintMessages();
    m_shown = std::chrono::steady_clock::now();
}

std::string ConversionProgress::Title(const std::string& title, std::int64_t records) {
    // Grouped in thousands as the program's English texts are.
    const std::string digits = std::to_string(records < 0 ? -records : records);
    std::string grouped = records < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return title + " - " + grouped + (records == 1 ? " record" : " records");
}
