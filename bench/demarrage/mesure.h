// Shared by the two start-up programs: the time since the launcher's clock
// reading (HORAKU_T0, seconds with a decimal part, as bash's EPOCHREALTIME
// gives it) and the peak memory so far, printed on one line at first paint.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace demarrage
{

inline double Maintenant()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Peak resident memory in KiB (VmHWM), 0 when unknown.
inline long PicMemoire()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char ligne[256];
    long kio = 0;
    while (std::fgets(ligne, sizeof ligne, f))
        if (std::strncmp(ligne, "VmHWM:", 6) == 0) kio = std::strtol(ligne + 6, nullptr, 10);
    std::fclose(f);
    return kio;
}

// "ms KiB" on standard output.
inline void Rapporter()
{
    const char* t0 = std::getenv("HORAKU_T0");
    const double debut = t0 ? std::strtod(t0, nullptr) : 0;
    std::printf("%.2f %ld\n", debut > 0 ? (Maintenant() - debut) * 1000.0 : -1.0, PicMemoire());
    std::fflush(stdout);
}

} // namespace demarrage
