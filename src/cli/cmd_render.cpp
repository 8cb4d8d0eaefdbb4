#include "commands.h"

namespace vorlo::cli {

int RunRender(const QStringList&) {
    return 2;
}
int RunThumbnail(const QStringList&) {
    return 2;
}

}  // namespace vorlo::cli
