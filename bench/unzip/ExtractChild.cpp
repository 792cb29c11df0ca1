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
    const int32_t code = job.Unzip(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%d %ld\n", code, usage.ru_maxrss);
    return 0;
}
