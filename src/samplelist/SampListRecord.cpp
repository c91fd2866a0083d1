#include "samplelist/SampListRecord.h"

#include <cstring>

#include "datasystem/FixedField.h"

namespace {

constexpr char kPreset[] = "[]";

template <std::size_t N>
void PresetField(char (&field)[N]) {
    static_assert(N >= sizeof(kPreset));
    WriteFixedField(field, kPreset);
}

}  // namespace

void CSampListRecord::Reset(BOOL preset) {
    std::memset(&m_record, 0, sizeof(m_record));
    if (!preset) {
        return;
    }
    SAMPLE_RECORD& r = m_record;
    PresetField(r.szDataFile);
    PresetField(r.szFraction);
    PresetField(r.szMSMethod);
    PresetField(r.szInletMethod);
    PresetField(r.szText900);
    PresetField(r.szMacro);
    PresetField(r.szRecordNumber);
    PresetField(r.szText1453);
    PresetField(r.szText1504);
    PresetField(r.szText1555);
    PresetField(r.szText1574);
    PresetField(r.szText1625);
    PresetField(r.szText1880);
    PresetField(r.szColumn5Text);
    for (auto& slot : r.szValue) {
        PresetField(slot);
    }
    for (auto& slot : r.szShort) {
        PresetField(slot);
    }
}
