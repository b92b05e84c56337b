#include "PageLoads.h"

#include "Failures.h"

bool PageLoads::Run(const std::function<void()>& load)
{
    bool loaded = false;
    RunHandler([&] {
        try {
            load();
            loaded = true;
            shown_.clear();
        } catch (const Exception& failure) {
            if (BoxText(failure) == shown_)
                return;
            shown_ = BoxText(failure);
            throw;
        }
    });
    return loaded;
}
