#include "platform/qt/QtNativeKeys.h"

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <QGuiApplication>
#include <xcb/xcb.h>

namespace {

constexpr xcb_keysym_t KeysymControlLeft = 0xFFE3;
constexpr xcb_keysym_t KeysymLowerM = 0x006D;
constexpr xcb_keysym_t KeysymUpperM = 0x004D;
constexpr quint32 ControlMask = XCB_MOD_MASK_CONTROL;

// The places of the keys on a PC keyboard, as XKB key codes.
constexpr quint32 PcKeyCodeControlLeft = 37;
constexpr quint32 PcKeyCodeM = 58;

struct TFreeReply
{
    void operator()(void* reply) const { std::free(reply); }
};

// The key code whose keysyms hold one of wanted, or fallback. The columns are
// searched in order, so that a key giving the keysym unshifted in the first
// group wins over one giving it in a later group or level.
quint32 KeyCodeOf(const xcb_get_keyboard_mapping_reply_t& mapping, xcb_keycode_t first, int keyCount,
                  std::initializer_list<xcb_keysym_t> wanted, quint32 fallback)
{
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(&mapping);
    const int perKey = mapping.keysyms_per_keycode;
    for (int column = 0; column < perKey; ++column) {
        for (int key = 0; key < keyCount; ++key) {
            for (const xcb_keysym_t keysym : wanted) {
                if (keysyms[key * perKey + column] == keysym)
                    return static_cast<quint32>(first + key);
            }
        }
    }
    return fallback;
}

} // namespace

TControlMKeys CurrentControlMKeys()
{
    TControlMKeys keys { { PcKeyCodeControlLeft, KeysymControlLeft }, { PcKeyCodeM, KeysymLowerM }, ControlMask };
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // The offscreen platform answers for X11 too, without a connection.
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection))
        return keys;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_keycode_t first = setup->min_keycode;
    const int keyCount = setup->max_keycode - setup->min_keycode + 1;
    const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, TFreeReply> mapping(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, first, static_cast<quint8>(keyCount)), nullptr));
    if (!mapping)
        return keys;
    keys.Control.ScanCode = KeyCodeOf(*mapping, first, keyCount, { KeysymControlLeft }, PcKeyCodeControlLeft);
    keys.M.ScanCode = KeyCodeOf(*mapping, first, keyCount, { KeysymLowerM, KeysymUpperM }, PcKeyCodeM);
    return keys;
}
