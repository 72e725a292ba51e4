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

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t),
              "the driver manager must pass wide text as UTF-16 units");
