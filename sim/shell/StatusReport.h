// The status and events commands of the control socket: the launcher's account of itself as
// the simulator's picture of it and the screen show it, the kit's buttons, the gallery's page
// and last command, and the device's event log.
#pragma once

#include <nlohmann/json.hpp>

#include "sim/status/ButtonPicture.h"
#include "sim/status/DialogPicture.h"
#include "sim/status/GalleryPicture.h"
#include "sim/status/LauncherPicture.h"
#include "sim/status/MenuItemTexts.h"

class StatusReport {
public:
    // The launcher's own account of itself, with the focused item's text as "focus" (its index
    // as "focus_index"), its caption line and clock as they show on the screen, its battery
    // gauge, every kit button ("buttons": id, text, rect, checked, focused, visible), the
    // gallery's page and last command ("gallery", null unless the gallery runs), the device's
    // time, sounds and window tree, and the popup menus open on the screen ("menus", empty when
    // none is), each with its items. "dialog" is the modal dialog on top (null when none is
    // open): hwnd, template, text, rect, visible, labels [{id, text}], lists [{id, lines}] and
    // the focused control {id, class, text}. "card" is the storage card's slot: "inserted" or
    // "ejected".
    nlohmann::json Status() const;
    // The event log's entries after the sequence number "since" (all of them without it).
    static nlohmann::json Events(const nlohmann::json& request);

private:
    nlohmann::json Buttons(const nlohmann::json& windows) const;

    LauncherPicture m_launcher;
    ButtonPicture m_buttons;
    GalleryPicture m_gallery;
    MenuItemTexts m_menuTexts;
    DialogPicture m_dialogs;
};
