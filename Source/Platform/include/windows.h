// The aggregator: one include for the whole Windows CE API surface the platform provides.
// One line per area header, sorted.
#pragma once

#include "commctrl.h"
#include "imaging.h"
#include "winbase.h"
#include "windef.h"
#include "winerror.h"
#include "wingdi.h"
#include "winicon.h"
#include "winresource.h"
