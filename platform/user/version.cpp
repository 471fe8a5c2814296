// The version record of the Linux build: the same values as Brelox.exe's,
// from the one header both builds read, kept in a section of its own so
// that `objdump -s -j .brelox_version brelox` shows them.
#include "version.h"

#define BRELOX_RECORD(key, value) key "=" value "\n"

extern "C" {
__attribute__((used, section(".brelox_version"))) const char brelox_version_record[] =
    BRELOX_RECORD("FileVersion", BRELOX_VERSION_TEXT)
    BRELOX_RECORD("ProductVersion", BRELOX_VERSION_TEXT)
    BRELOX_RECORD("Comments", BRELOX_COMMENTS)
    BRELOX_RECORD("CompanyName", BRELOX_COMPANY_NAME)
    BRELOX_RECORD("FileDescription", BRELOX_FILE_DESCRIPTION)
    BRELOX_RECORD("InternalName", BRELOX_INTERNAL_NAME)
    BRELOX_RECORD("LegalTrademarks", BRELOX_LEGAL_TRADEMARKS)
    BRELOX_RECORD("OriginalFilename", BRELOX_ORIGINAL_FILENAME)
    BRELOX_RECORD("ProductName", BRELOX_PRODUCT_NAME);
}
