#pragma once

#include <QString>

// Every control carries the name of the member that holds it as its object
// name, so that tests and tools find it by that name.
template <typename Control>
Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A page's member for one control, with the member's name.
template <typename Page, typename Control>
struct NamedMember {
    Control* Page::*member;
    const char* name;

    // Keeps the control in the member, under the member's name.
    Control* Hold(Page& page, Control* control) const { return page.*member = Named(control, name); }
};
