/* Checks for the C programs that drive the component server (tests/library/host.c,
 * tests/windows/ComClient.c): a failed check is reported with its place and counted in
 * `failures`, which the program returns. HRESULT comes from the program's own headers. */
#ifndef ZORVAXP_TESTS_CCHECKS_H
#define ZORVAXP_TESTS_CCHECKS_H

#include <stdio.h>

static int failures = 0;

#define CHECK(cond)                                                              \
  do {                                                                           \
    if (!(cond)) {                                                               \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);   \
      ++failures;                                                                \
    }                                                                            \
  } while (0)

#define CHECK_HR(expr, want)                                                                  \
  do {                                                                                        \
    HRESULT got_ = (expr);                                                                    \
    if (got_ != (HRESULT)(want)) {                                                            \
      fprintf(stderr, "%s:%d: %s gave 0x%08lX, wanted 0x%08lX\n", __FILE__, __LINE__, #expr,  \
              (unsigned long)(got_ & 0xFFFFFFFF), (unsigned long)((want) & 0xFFFFFFFF));      \
      ++failures;                                                                             \
    }                                                                                         \
  } while (0)

#endif
