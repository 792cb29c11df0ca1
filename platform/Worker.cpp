#include "Worker.h"

#include "FileError.h"

QString internalFailure(const std::exception_ptr& caught) {
    try {
        std::rethrow_exception(caught);
    } catch (const FileError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QStringLiteral("errore interno: %1").arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return QStringLiteral("errore interno");
    }
}
