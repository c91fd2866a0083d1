// The stand-ins linked into the executable are the table in use unless
// another is installed at start-up (datasystem/DataSystemEntries.h).
#include "datasystem/DataSystemEntries.h"

namespace {

DataSystemEntries StandInEntries() {
    DataSystemEntries entries;
    entries.DB3Open = &::DB3Open;
    entries.DB3Close = &::DB3Close;
    entries.DB3HandleRecord = &::DB3HandleRecord;
    entries.DB3GetRecordsInDB = &::DB3GetRecordsInDB;
    entries.MSGGetGlobalFile = &::_MSGGetGlobalFile;
    entries.StoreGlobalFile = &::StoreGlobalFile;
    entries.DB3Abandon = &::DB3Abandon;
    entries.DB3StatusText = &::DB3StatusText;
    entries.DB3GetPath = &::DB3GetPath;
    entries.DB3GetFailureCause = &::DB3GetFailureCause;
    entries.DB3GetListIdentity = &::DB3GetListIdentity;
    entries.UseGlobalFileInProcess = &::UseGlobalFileInProcess;
    entries.EnumGlobalFiles = &::EnumGlobalFiles;
    entries.OstrelSettingsPath = &::OstrelSettingsPath;
    entries.OstrelLastError = &::OstrelLastError;
    entries.ours = ::Korr2ldFerroxStandIn() == 1 && ::Korr2ldOstrelStandIn() == 1;
    return entries;
}

// Set once at start-up (and by tests), read from the one thread that calls
// the libraries.
const DataSystemEntries* g_installed = nullptr;
DataSystemEntries g_installedCopy;

}  // namespace

const DataSystemEntries& DataSystem() {
    static const DataSystemEntries linked = StandInEntries();
    return g_installed != nullptr ? *g_installed : linked;
}

void InstallDataSystem(const DataSystemEntries& entries) {
    g_installedCopy = entries;
    g_installed = &g_installedCopy;
}
