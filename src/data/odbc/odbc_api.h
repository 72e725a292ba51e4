#pragma once
// The ODBC headers as this program includes them: windows.h first on Windows,
// and SQLWCHAR checked to be the UTF-16 unit QString stores.
#include <QtGlobal>
#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

// SQLWCHAR is wchar_t on Windows (MSVC and mingw-w64 alike) and unsigned short
// under unixODBC: two distinct types of one size, neither of them char16_t nor
// QChar. So text is copied unit by unit or passed through reinterpret_cast of
// same-sized units, never by relying on the type itself (odbc_text.h).
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t),
              "the driver manager must pass wide text as UTF-16 units");
