#pragma once

#include "AppError.h"
#include "MessageBoxes.h"

#include <utility>

// Every slot that Qt calls runs its body through guarded(): an exception never crosses the event loop;
// it ends the handler and is reported in the application's standard error box, and the agent goes on.
template <typename Body> void guarded(Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (const AppError& error) {
        MessageBoxes::applicationError(error.message());
    } catch (const std::exception& error) {
        MessageBoxes::applicationError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        MessageBoxes::applicationError(QStringLiteral("Erro inesperado"));
    }
}
