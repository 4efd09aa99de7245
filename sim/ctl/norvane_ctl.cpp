// norvane-ctl: drives a running simulated device through its control socket, as a user or a
// test would: presses keys, taps the screen, takes screenshots and recordings, reads the device's
// status and event log, waits for a status condition, sends WM_COPYDATA requests to the launcher
// (well formed or raw bytes), opens message boxes in the gallery, works the co-processor model,
// plugs the USB cable in and out and pulls the storage card out.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "sim/control/Base64.h"
#include "sim/control/ControlClient.h"
#include "sim/control/HexBytes.h"
#include "sim/control/KeyNames.h"
#include "sim/control/LastState.h"
#include "sim/control/StatusCondition.h"

namespace {

int Fail(const std::string& text) {
    std::cerr << "norvane-ctl: " << text << "\n";
    return 1;
}

// The socket to use: --state first, then the socket the simulator gave the programs it
// launched, then the last simulator started by this user.
std::filesystem::path SocketPath(const std::string& stateDir, std::string& error) {
    if (!stateDir.empty())
        return std::filesystem::path(stateDir) / "control.sock";
    if (const char* env = std::getenv("NORVANE_CONTROL_SOCKET"); env && *env)
        return env;
    if (const auto last = LastState::Read())
        return *last / "control.sock";
    const std::filesystem::path record = LastState::RecordFile();
    error = "no simulator found: give --state DIR (" +
            (record.empty() ? std::string("NORVANE_LAST_STATE is empty: no record is kept")
                            : "no record in " + record.string()) +
            ")";
    return {};
}

// How often wait reads the status, in host milliseconds.
constexpr int kWaitPollMs = 20;

// A 32-bit number as written on the command line (message-box type flags, a cbData): decimal,
// or hexadecimal after 0x. Nothing for any other text.
std::optional<std::uint32_t> ParseNumber(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > (hex ? 8u : 10u))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + std::uint64_t(digit);
    }
    if (value > 0xFFFFFFFFu)
        return std::nullopt;
    return std::uint32_t(value);
}

nlohmann::json WithoutOk(nlohmann::json answer) {
    answer.erase("ok");
    return answer;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"norvane-ctl: drives a running norvane-sim through its control socket."};
    app.require_subcommand(1);
    std::string stateDir;
    app.add_option("--state", stateDir,
                   "state directory of the simulator (default: $NORVANE_CONTROL_SOCKET, else the "
                   "simulator started last)");

    std::string pngFile;
    auto* screenshot = app.add_subcommand("screenshot", "save the screen (240x320) as a PNG file");
    screenshot->add_option("FILE", pngFile, "PNG file to write")->required();

    std::string gifFile;
    double recordSeconds = 0;
    auto* record = app.add_subcommand(
        "record", "record the screen as an animated GIF for N seconds of device time; returns "
                  "when the file is written (other clients are served meanwhile)");
    record->add_option("FILE", gifFile, "GIF file to write")->required();
    record->add_option("--seconds", recordSeconds, "how long, in device seconds (up to 3600)")
        ->required();

    std::string keyName;
    int holdMs = 100;
    auto* key = app.add_subcommand("key", "press a keypad key (see the key names below)");
    std::vector<std::string> names;
    for (const auto& k : KeyNames::All())
        names.push_back(k.name);
    key->add_option("NAME", keyName, "key name")->required()->check(CLI::IsMember(names));
    key->add_option("--hold", holdMs,
                    "hold the key down for MS device milliseconds (default 100; the keypad "
                    "scanner polls every 30 ms)")
        ->check(CLI::Range(0, 60000));
    auto* keyDown = app.add_subcommand("key-down", "put a keypad key down and leave it down");
    keyDown->add_option("NAME", keyName, "key name")->required()->check(CLI::IsMember(names));
    auto* keyUp = app.add_subcommand("key-up", "let a keypad key that is down come up");
    keyUp->add_option("NAME", keyName, "key name")->required()->check(CLI::IsMember(names));

    int tapX = 0, tapY = 0;
    bool tapDouble = false;
    auto* tap = app.add_subcommand("tap", "tap the screen with the stylus at pixel X Y (240x320)");
    tap->add_option("X", tapX, "0 (left) to 239")->required()->check(CLI::Range(0, 239));
    tap->add_option("Y", tapY, "0 (top) to 319")->required()->check(CLI::Range(0, 319));
    tap->add_flag("--double", tapDouble, "tap twice, as a double tap");
    std::string stylusAction;
    auto* stylus = app.add_subcommand(
        "stylus", "put the stylus down, move it or lift it at pixel X Y, for drags");
    stylus->add_option("ACTION", stylusAction, "down, move or up")
        ->required()
        ->check(CLI::IsMember({"down", "move", "up"}));
    stylus->add_option("X", tapX, "0 (left) to 239")->required()->check(CLI::Range(0, 239));
    stylus->add_option("Y", tapY, "0 (top) to 319")->required()->check(CLI::Range(0, 319));

    std::string conditionText;
    double waitSeconds = 10;
    auto* wait = app.add_subcommand(
        "wait", "wait until the status meets CONDITION; exit 0 when it does, 1 on time-out");
    wait->add_option("CONDITION", conditionText,
                     "PATH=VALUE, PATH!=VALUE, PATH>=N or PATH<=N over the status JSON")
        ->required();
    wait->add_option("--timeout", waitSeconds, "give up after S seconds of host time (default 10)")
        ->check(CLI::Range(0.0, 86400.0));

    std::string regKey, regName;
    std::uint32_t regValue = 0;
    auto* regSet = app.add_subcommand(
        "reg-set", "set a DWORD value under HKEY_LOCAL_MACHINE, e.g. reg-set I18N Language 1028");
    regSet->add_option("KEY", regKey, "key path under HKEY_LOCAL_MACHINE")->required();
    regSet->add_option("NAME", regName, "value name")->required();
    regSet->add_option("DWORD", regValue, "value")->required();

    std::uint32_t copyCode = 0;
    std::string copyString;
    auto* copydata = app.add_subcommand(
        "copydata", "send WM_COPYDATA to the launcher view (the view of the frame \"AppFrame\") "
                    "and wait until it is handled, as a sent message does");
    copydata
        ->add_option("CODE", copyCode,
                     "the request code (dwData): 100 opens a remote "
                     "connection, 101 closes it")
        ->required();
    auto* copyStringOption = copydata->add_option(
        "STRING", copyString, "sent as UTF-16LE with its terminator (lpData, cbData its size)");
    std::string copyHex, copyCb;
    bool copyNull = false;
    auto* copyHexOption = copydata->add_option(
        "--hex", copyHex,
        "send exactly these bytes as lpData instead of a STRING, two hex digits a byte (spaces "
        "between bytes allowed), cbData their count: e.g. 5100750069006c00 is \"Quil\" without "
        "its terminator");
    copydata->add_flag("--null", copyNull, "send no data: lpData NULL, cbData 0 (or --cb)");
    auto* copyCbOption = copydata->add_option(
        "--cb", copyCb,
        "cbData N (decimal or 0x-hex) instead of the count of the bytes sent; at most that "
        "count, any with --null");

    std::string boxType, boxText, boxCaption;
    auto* msgbox = app.add_subcommand(
        "msgbox",
        "make the gallery (norvane-sim --app gallery) show the kit's message box on its UI "
        "thread; returns at once, while the box is open (the event log records "
        "msgbox.opened, and msgbox.closed with the result when it closes)");
    msgbox
        ->add_option("TYPE", boxType,
                     "the type flags, decimal or 0x-hex: button set 0x0-0x5, icon 0x10-0x40, "
                     "first button 0x100 or 0x200 (e.g. 0x124: Yes/No, question, No first)")
        ->required();
    msgbox->add_option("TEXT", boxText, "the message")->required();
    auto* boxCaptionOption = msgbox->add_option(
        "CAPTION", boxCaption, "the caption line (none: the application's name, a NULL caption)");

    auto* status =
        app.add_subcommand("status", "device time, speed, local time and the window tree (JSON)");

    std::uint64_t since = 0;
    auto* events = app.add_subcommand("events", "the device's event log (JSON)");
    events->add_option("--since", since, "only events after sequence number N");

    auto* quit = app.add_subcommand("quit", "close the launcher and stop the simulator");

    auto* coproc = app.add_subcommand("coproc", "the co-processor model's state (JSON)");
    coproc->require_subcommand(0, 1);
    std::string settings;
    auto* coprocSet = coproc->add_subcommand("set", "change model settings and faults");
    coprocSet->add_option("SETTINGS", settings, "K=V[,K=V...], e.g. battery_level=80,unplugged=1")
        ->required();
    std::string bootPath;
    auto* coprocBoot = coproc->add_subcommand(
        "boot", "reset the co-processor, run the boot handshake and download an image; exit 1 "
                "when a step fails");
    coprocBoot
        ->add_option("FILE", bootPath,
                     "device path of the image, e.g. "
                     "\"\\Storage Card\\Norvane\\App\\NorvaneApp.bin\"")
        ->required();

    std::string usbAction;
    auto* usb = app.add_subcommand(
        "usb", "plug the USB cable in (the system's \"Connected to USB\" notice appears over the "
               "screen; the next key hides it) or pull it out (the notice goes)");
    usb->add_option("ACTION", usbAction, "connect or disconnect")
        ->required()
        ->check(CLI::IsMember({"connect", "disconnect"}));
    // The storage card's slot.
    std::string cardAction;
    auto* card = app.add_subcommand(
        "card", "pull the storage card out (eject) or put it back (insert); while it is out, "
                "\\Storage Card\\ is gone for every file call");
    card->add_option("ACTION", cardAction, "eject or insert")
        ->required()
        ->check(CLI::IsMember({"eject", "insert"}));

    app.footer(
        "Key names:\n" + KeyNames::Describe() +
        "\ntap and stylus take screen pixels, 0,0 the top-left corner; a tap presses for 100 ms\n"
        "of device time and returns after the double-tap time (500 ms), so that the next tap\n"
        "is a tap of its own; --double presses twice, 100 ms apart.\n"
        "\nstatus, events and coproc print JSON; the other commands print one line.\n"
        "\nwait CONDITION: PATH is a dotted path into the status JSON, array items by index\n"
        "(items.0.text); = and != compare the value's text (null as \"null\", an array by its\n"
        "length), >= and <= compare numbers (an array by its length). The status holds:\n"
        "  state         starting, idle, launching, remote or closed\n"
        "  items         the program list: text, program, image, parameters, focused\n"
        "  focus         the focused item's text (focus_index its index), null for none\n"
        "  caption, progress, running.program, running.parameters, sounds, time_ms (device\n"
        "  time), speed, local_time, windows, and labels.caption and labels.clock: text,\n"
        "  visible, background and text_colour (#RRGGBB as the screen shows them),\n"
        "  gauge.level (0 to 1), gauge.charging, gauge.warning, buttons (the widget kit's\n"
        "  buttons: id, text, rect, checked, focused, visible; a message box's too),\n"
        "  usb.connected and usb.notice (the system's notice: hwnd and visible; null when there\n"
        "  is none), card (inserted or ejected) and, with --app gallery, gallery.page and\n"
        "  gallery.command (a message box's result: source msgbox, id the result code)\n"
        "Examples: wait state=idle; wait items>=10; wait caption=Disconnected; wait focus=Zentra\n"
        "The time-out is host time; the status is read every 20 ms.\n"
        "\nExit status: 0 on success, 1 when the simulator cannot be reached or refuses (or a\n"
        "wait timed out).");

    CLI11_PARSE(app, argc, argv);

    std::string error;
    std::optional<std::uint32_t> flags;
    if (*msgbox) {
        flags = ParseNumber(boxType);
        if (!flags)
            return Fail(
                "msgbox: TYPE must be a number, decimal or 0x-hex, of at most 32 bits (not \"" +
                boxType + "\")");
    }
    std::optional<std::uint32_t> copyCbData;
    if (*copydata) {
        const int forms =
            int(copyStringOption->count() > 0) + int(copyHexOption->count() > 0) + int(copyNull);
        if (forms > 1)
            return Fail("copydata: give one of STRING, --hex and --null, not several");
        if (copyHexOption->count() > 0) {
            if (!HexBytes::Parse(copyHex, error))
                return Fail("copydata: --hex: " + error);
        }
        if (copyCbOption->count() > 0) {
            copyCbData = ParseNumber(copyCb);
            if (!copyCbData)
                return Fail("copydata: --cb must be a number, decimal or 0x-hex, of at most 32 "
                            "bits (not \"" +
                            copyCb + "\")");
        }
    }
    std::optional<StatusCondition> condition;
    if (*wait) {
        condition = StatusCondition::Parse(conditionText, error);
        if (!condition)
            return Fail("wait: " + error);
    }

    nlohmann::json request;
    if (*screenshot)
        request = {{"cmd", "screenshot"}};
    else if (*record) {
        // The simulator writes the file: a name relative to here must not be taken as one
        // relative to the simulator's folder.
        std::error_code ec;
        request = {{"cmd", "record"},
                   {"path", std::filesystem::absolute(gifFile, ec).string()},
                   {"seconds", recordSeconds}};
    } else if (*key)
        request = {{"cmd", "key"}, {"name", keyName}, {"hold_ms", holdMs}};
    else if (*keyDown)
        request = {{"cmd", "key-down"}, {"name", keyName}};
    else if (*keyUp)
        request = {{"cmd", "key-up"}, {"name", keyName}};
    else if (*tap)
        request = {{"cmd", "tap"}, {"x", tapX}, {"y", tapY}, {"double", tapDouble}};
    else if (*stylus)
        request = {{"cmd", "stylus"}, {"action", stylusAction}, {"x", tapX}, {"y", tapY}};
    else if (*status || *wait)
        request = {{"cmd", "status"}};
    else if (*regSet)
        request = {
            {"cmd", "registry-set"}, {"key", regKey}, {"name", regName}, {"dword", regValue}};
    else if (*copydata) {
        request = {{"cmd", "copydata"}, {"code", copyCode}};
        if (copyStringOption->count() > 0)
            request["string"] = copyString;
        if (copyHexOption->count() > 0)
            request["hex"] = copyHex;
        if (copyNull)
            request["null"] = true;
        if (copyCbData)
            request["cb"] = *copyCbData;
    } else if (*msgbox) {
        request = {{"cmd", "msgbox"}, {"type", *flags}, {"text", boxText}};
        if (boxCaptionOption->count() > 0)
            request["caption"] = boxCaption;
    } else if (*events)
        request = {{"cmd", "events"}, {"since", since}};
    else if (*quit)
        request = {{"cmd", "quit"}};
    else if (*coprocSet)
        request = {{"cmd", "coproc-set"}, {"settings", settings}};
    else if (*coprocBoot)
        request = {{"cmd", "coproc-boot"}, {"path", bootPath}};
    else if (*usb)
        request = {{"cmd", "usb"}, {"action", usbAction}};
    else if (*card)
        request = {{"cmd", "card"}, {"action", cardAction}};
    else
        request = {{"cmd", "coproc"}};

    const std::filesystem::path socket = SocketPath(stateDir, error);
    if (socket.empty())
        return Fail(error);
    ControlClient client;
    if (std::string why = client.Connect(socket); !why.empty())
        return Fail("no simulator at " + socket.string() + ": " + why);
    const auto answer = client.Request(request, error);
    if (!answer)
        return Fail(error + " (" + socket.string() + ")");
    if (!answer->value("ok", false))
        return Fail(answer->value("error", std::string("the simulator refused the request")));

    if (*wait) {
        // Host time, as a user at the command line counts it.
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
        std::optional<nlohmann::json> current = answer;
        while (!condition->Holds(*current)) {
            if (std::chrono::steady_clock::now() >= deadline)
                return Fail("wait: timed out after " + std::to_string(waitSeconds) +
                            " s: " + condition->Path() + " is " + condition->Actual(*current));
            std::this_thread::sleep_for(std::chrono::milliseconds(kWaitPollMs));
            current = client.Request(request, error);
            if (!current)
                return Fail("wait: " + error + " (" + socket.string() + ")");
        }
        std::cout << condition->Path() << " is " << condition->Actual(*current) << "\n";
        return 0;
    }

    if (*screenshot) {
        const auto png = Base64::Decode(answer->value("png", std::string()));
        if (!png || png->empty())
            return Fail("the simulator's screenshot is not readable");
        std::ofstream out(pngFile, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(png->data()), std::streamsize(png->size()));
        if (!out.flush())
            return Fail("cannot write " + pngFile);
        std::cout << "wrote " << pngFile << " (" << answer->value("width", 0) << "x"
                  << answer->value("height", 0) << ")\n";
    } else if (*record) {
        std::cout << "wrote " << answer->value("path", gifFile) << ": "
                  << answer->value("frames", 0) << " frames over "
                  << answer->value("duration_ms", 0) << " ms of device time\n";
    } else if (*key) {
        std::cout << "pressed " << keyName << " (code " << answer->value("code", -1) << ") for "
                  << answer->value("hold_ms", 0) << " ms\n";
    } else if (*regSet) {
        std::cout << "HKEY_LOCAL_MACHINE\\" << regKey << " " << regName << " = " << regValue
                  << "\n";
    } else if (*tap) {
        std::cout << (tapDouble ? "double-tapped " : "tapped ") << tapX << "," << tapY << "\n";
    } else if (*stylus) {
        std::cout << "stylus " << stylusAction << " at " << tapX << "," << tapY << "\n";
    } else if (*keyDown || *keyUp) {
        std::cout << keyName << (*keyDown ? " is down" : " is up") << "\n";
    } else if (*copydata) {
        // cbData alone when it counts the bytes sent, else both.
        const std::uint64_t cbData = answer->value("bytes", std::uint64_t(0));
        const nlohmann::json sent = answer->value("data", nlohmann::json());
        std::cout << "WM_COPYDATA " << copyCode << " (";
        if (sent.is_null() && cbData != 0)
            std::cout << "cbData " << cbData << ", lpData NULL";
        else if (!sent.is_null() && sent.get<std::uint64_t>() != cbData)
            std::cout << "cbData " << cbData << " of " << sent.get<std::uint64_t>() << " bytes";
        else
            std::cout << cbData << " bytes";
        std::cout << ") handled, result " << answer->value("result", 0) << "\n";
    } else if (*msgbox) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", unsigned(*flags));
        std::cout << "message box " << hex << " posted to the gallery\n";
    } else if (*quit) {
        std::cout << "the simulator is stopping\n";
    } else if (*usb) {
        const bool in = usbAction == "connect";
        const nlohmann::json notice = answer->value("notice", nlohmann::json());
        if (!answer->value("changed", false))
            std::cout << (in ? "USB was connected already" : "USB was not connected")
                      << ": nothing changed"
                      << (notice.is_object() && !notice.value("visible", false)
                              ? " (the notice stays hidden)"
                              : "")
                      << "\n";
        else
            std::cout << (in ? "USB connected: the notice is on the screen"
                             : "USB disconnected: the notice is gone")
                      << "\n";
    } else if (*card) {
        // Ejecting twice or inserting a card that is in changes nothing and says so.
        std::cout << "card " << (answer->value("changed", false) ? "" : "already ")
                  << answer->value("card", std::string("?")) << "\n";
    } else if (*coprocSet) {
        std::cout << "set " << settings << "\n";
    } else if (*coprocBoot) {
        const bool reset = answer->value("hold_reset", false);
        const bool handshake = answer->value("boot_handshake", false);
        const bool download = answer->value("download", false);
        std::cout << "hold reset " << (reset ? "ok" : "failed") << ", boot handshake "
                  << (handshake ? "ok" : "failed") << ", download " << (download ? "ok" : "failed")
                  << "\n";
        return reset && handshake && download ? 0 : 1;
    } else {
        std::cout << WithoutOk(*answer).dump(2) << "\n";
    }
    return 0;
}
