/* The loop-back exchange on the port the tester has selected. */
#ifndef BRELOX_LOOPTEST_H
#define BRELOX_LOOPTEST_H

#include <windows.h>

#define LOOPTEST_RECEIVE_MAX 512

/* Runs one exchange to its end; always posts Up to the window afterwards. */
void LoopTestRun(HWND hwnd);

#endif
