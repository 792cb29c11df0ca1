// Extracts one archive through the unzip job with its default options, then prints the code and the peak
// resident memory of the process in KiB.
#include "unzip/CGUnzipFiles.h"

#include <QCoreApplication>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    CGUnzipFiles job;
    const Outcome<int32_t> code = job.Unzip(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    if (!code) {
        std::fprintf(stderr, "%s\n", qPrintable(code.reason()));
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%d %ld\n", code.value(), usage.ru_maxrss);
    return 0;
}
