/* The version record of Brelox: read by brelox.rc for Windows and by the
   Linux build, so the two never disagree. */
#ifndef BRELOX_VERSION_H
#define BRELOX_VERSION_H

#define BRELOX_VERSION_BINARY 1, 5, 0, 1
#define BRELOX_VERSION_TEXT "1, 5, 0, 1"
#define BRELOX_FILE_OS 0x40004L /* NT, 32-bit Windows */
#define BRELOX_FILE_TYPE 0x1L   /* application */
#define BRELOX_STRING_BLOCK "040004b0"
#define BRELOX_TRANSLATION_LANGUAGE 0x0400
#define BRELOX_TRANSLATION_CODEPAGE 0x04B0

#define BRELOX_COMMENTS "Vostrelan Test Program (95 / NT)"
#define BRELOX_COMPANY_NAME "Kandorwick Co., Ltd."
#define BRELOX_FILE_DESCRIPTION "Brelox"
#define BRELOX_INTERNAL_NAME "Brelox"
#define BRELOX_LEGAL_TRADEMARKS "Vostrelan"
#define BRELOX_ORIGINAL_FILENAME "Brelox.exe"
#define BRELOX_PRODUCT_NAME "Brelox"

#endif
