// OLE Automation strings and dates: BSTR (UTF-16 text preceded by its byte length), DATE (days
// since 30 December 1899, the fraction being the time of day) and their conversions.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "winnls.h"

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* BSTR;
typedef BSTR* LPBSTR;
typedef double DATE;

// Flags of the Var* conversions.
#define VAR_TIMEVALUEONLY 0x00000001
#define VAR_DATEVALUEONLY 0x00000002
#define VAR_VALIDDATE 0x00000004
#define VAR_CALENDAR_HIJRI 0x00000008
#define VAR_FOURDIGITYEARS 0x00000040

// Null text gives a null BSTR; SysAllocStringLen with null text gives `length` zero units.
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);
void SysFreeString(BSTR text);

// Dates from 1 January 100 to 31 December 9999; milliseconds are not kept, and a DATE is
// rounded to the nearest second.
INT SystemTimeToVariantTime(LPSYSTEMTIME systemTime, DATE* variantTime);
INT VariantTimeToSystemTime(DATE variantTime, LPSYSTEMTIME systemTime);

// Formats a DATE as English (United States) does: "12/8/2026", "3:52:07 AM", or both. For
// the user and system default locales and 0x0409; E_INVALIDARG for other locales and dates
// out of range.
HRESULT VarBstrFromDate(DATE date, LCID locale, ULONG flags, BSTR* result);
