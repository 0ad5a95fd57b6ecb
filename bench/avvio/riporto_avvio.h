#pragma once
// What a start-up child of the benchmarks reports once its window is up: the resident
// memory now and at its peak (kB, from /proc/self/status), one "name value" a line on
// standard output; then it ends at once, without tearing anything down.

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace qv::bench {

// primaDiUscire: what the child lets go that a running program holds past its end (a
// lock file), so that the next start finds what a user's next start finds.
inline void riportaMemoriaEdEsci(const std::function<void()>& primaDiUscire = {}) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& riga : status.readAll().split('\n')) {
            if (riga.startsWith("VmRSS:") || riga.startsWith("VmHWM:")) {
                const QList<QByteArray> parti = riga.simplified().split(' ');
                if (parti.size() >= 2)
                    std::printf("%s %s\n", parti[0].chopped(1).constData(), parti[1].constData());
            }
        }
    }
    std::fflush(stdout);
    if (primaDiUscire) primaDiUscire();
    _exit(0);
}

// Once the event loop has run: the window shown, its first events handled.
inline void riportaQuandoPronto(std::function<void()> primaDiUscire = {}) {
    QTimer::singleShot(0, [primaDiUscire = std::move(primaDiUscire)] {
        QCoreApplication::processEvents();
        riportaMemoriaEdEsci(primaDiUscire);
    });
}

} // namespace qv::bench
