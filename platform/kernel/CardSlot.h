// The storage card's slot: whether a card is in it, and which mount of the card a file was
// opened on, so that the card can be pulled out and put back while the device's threads read.
#pragma once

#include <cstdint>

class CardSlot {
public:
    // A mount of the card: it changes at every eject and every insert, so a file opened on one
    // mount never reads from the next, even when the same card comes back.
    using Mount = std::uint32_t;

    // Takes the card out or puts it back; true when the slot changed, false when it already
    // was so (ejecting twice, inserting a card that is in).
    static bool Eject();
    static bool Insert();
    static bool Inserted();

    // The mount in force now, and whether a mount is still the card in the slot.
    static Mount Current();
    static bool IsMounted(Mount mount);
};
