#include "app/Resources.h"

#include <QtGlobal>

static void initializeCompiledResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace Resources {

void initialize()
{
    initializeCompiledResources();
}

} // namespace Resources
