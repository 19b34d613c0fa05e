// Builds the loops that carry whole frames for the vector units of today's processors as well.
#pragma once

// The optimised build targets the x86-64 baseline: 16-byte vectors and no byte shuffles. The
// frame loops are also built for AVX2 and AVX-512 machines, and the program picks the widest one
// the processor has when it loads. Other compilers and processors build each loop once, for what
// they target; so do unoptimised and sanitizer builds (the picking runs before a sanitizer's
// runtime is ready, and an instrumented picker crashes there).
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__) && \
    defined(__OPTIMIZE__) && !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
#define QV_PIXEL_LOOP __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))
#else
#define QV_PIXEL_LOOP
#endif
