#include "FakePlatform.h"

FakePlatform& FakePlatform::install()
{
    auto fake = std::make_unique<FakePlatform>();
    FakePlatform& ref = *fake;
    Platform::install(std::move(fake));
    return ref;
}
