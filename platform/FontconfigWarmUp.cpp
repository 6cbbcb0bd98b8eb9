#include "FontconfigWarmUp.h"

#include <fontconfig/fontconfig.h>

FontconfigWarmUp::FontconfigWarmUp() : m_thread([] { FcInit(); }) {}

FontconfigWarmUp::~FontconfigWarmUp()
{
    finish();
}

void FontconfigWarmUp::finish()
{
    if (m_thread.joinable())
        m_thread.join();
}
