#pragma once

#include <Qt>

// The three states of a check mark.
enum class CheckState { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

// Grayed marks come only from the program; a user's click on one checks it.
constexpr CheckState StateAfterUserToggle(CheckState state)
{
    return state == CheckState::cbChecked ? CheckState::cbUnchecked : CheckState::cbChecked;
}

constexpr Qt::CheckState ToQtCheckState(CheckState state)
{
    switch (state) {
    case CheckState::cbChecked: return Qt::Checked;
    case CheckState::cbGrayed: return Qt::PartiallyChecked;
    case CheckState::cbUnchecked: break;
    }
    return Qt::Unchecked;
}

constexpr CheckState FromQtCheckState(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked: return CheckState::cbChecked;
    case Qt::PartiallyChecked: return CheckState::cbGrayed;
    case Qt::Unchecked: break;
    }
    return CheckState::cbUnchecked;
}
