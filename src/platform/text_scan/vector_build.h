// Which block instructions the text scans are built with: SSE2 wherever the
// target has it, AVX2 besides on x86-64 (asked of the machine at run time),
// and neither under FLAWSEEK_SCALAR_ONLY, which keeps the portable versions.
#pragma once

#if !defined(FLAWSEEK_SCALAR_ONLY) && defined(__SSE2__)
#define FLAWSEEK_TEXT_SCAN_SSE2 1
#endif
#if !defined(FLAWSEEK_SCALAR_ONLY) && defined(__SSE2__) && defined(__x86_64__) && defined(__GNUC__) && \
    !defined(__clang__)
#define FLAWSEEK_TEXT_SCAN_AVX2 1
#endif
