#include "compare_versions.h"

#include "leading_integer.h"

namespace talvik::support {

int CompareVersions(QStringView a, QStringView b) {
    qsizetype pa = 0;
    qsizetype pb = 0;
    for (;;) {
        const bool aDone = pa > a.size();
        const bool bDone = pb > b.size();
        if (aDone || bDone) {
            return (aDone ? 0 : 1) - (bDone ? 0 : 1);
        }
        qsizetype ea = a.indexOf(u'.', pa);
        qsizetype eb = b.indexOf(u'.', pb);
        if (ea < 0) {
            ea = a.size();
        }
        if (eb < 0) {
            eb = b.size();
        }
        const int va = LeadingInteger(a.sliced(pa, ea - pa));
        const int vb = LeadingInteger(b.sliced(pb, eb - pb));
        if (va != vb) {
            return va < vb ? -1 : 1;
        }
        pa = ea + 1;
        pb = eb + 1;
    }
}

} // namespace talvik::support
