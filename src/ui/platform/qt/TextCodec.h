// Text crossing between the program's 8-bit strings and Qt's QString.
//
// Two kinds of text cross, and they cross differently:
// - Paths are bytes to the file system. They are decoded for display and
//   encoded back with the locale's file name encoding (QFile::decodeName /
//   encodeName), so a path the program got from the file system or a file
//   dialog reaches the file system again unchanged.
// - Names that go into Sample List records (methods, macro, data file) are
//   8-bit text with no encoding of their own. Only printable ASCII
//   (framework/TextClass.h) means the same to every reader of a record, so
//   that is all the dialogs accept from the user; anything else is refused
//   at the exchange from the controls, never stored as guessed bytes.
#pragma once

#include <QString>
#include <string>

QString DecodePath(const std::string& path);
std::string EncodePath(const QString& path);

// Shows record text: valid UTF-8 is shown as such, other bytes each as the
// Latin-1 character of the same value, so that the user sees what is there
// and the exchange from the controls can refuse it by name.
QString DecodeRecordText(const std::string& text);

// TRUE when TEXT is printable ASCII only; its bytes are then in OUT. When
// it is not, OUT is unchanged and OFFENDING names the first character that
// cannot be stored.
bool EncodeRecordText(const QString& text, std::string& out, QString& offending);
