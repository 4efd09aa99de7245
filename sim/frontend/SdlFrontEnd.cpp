#include "sim/frontend/SdlFrontEnd.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/Framebuffer.h"
#include "sim/frontend/KeypadPanel.h"
#include "sim/frontend/LabelFont.h"

namespace {

constexpr int kScale = 2;
constexpr int kScreenW = Framebuffer::kWidth * kScale;
constexpr int kScreenH = Framebuffer::kHeight * kScale;
// The front end looks at the framebuffer this often when nothing else happens (about 30 times
// a second); it redraws only when something was drawn.
constexpr int kLookMs = 33;

const char* const kLabelFont = "/usr/share/fonts/X11/misc/wenquanyi_13px.pcf";

} // namespace

std::unique_ptr<SdlFrontEnd> SdlFrontEnd::Create(KeyPress pressKey, StylusTouch touch,
                                                 ScreenshotKey screenshot, std::string& why) {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) {
        why = "no display (DISPLAY and WAYLAND_DISPLAY are not set)";
        return nullptr;
    }
    std::unique_ptr<SdlFrontEnd> frontEnd(
        new SdlFrontEnd(std::move(pressKey), std::move(touch), std::move(screenshot)));
    if (!frontEnd->Open(why))
        return nullptr;
    return frontEnd;
}

bool SdlFrontEnd::Open(std::string& why) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        why = std::string("no display: ") + SDL_GetError();
        return false;
    }
    m_stopEvent = SDL_RegisterEvents(1);
    m_window = SDL_CreateWindow("Norvane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                kScreenW + KeypadPanel::kWidth, kScreenH, 0);
    if (m_window)
        m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (m_renderer)
        m_screen =
            SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                              Framebuffer::kWidth, Framebuffer::kHeight);
    if (!m_screen) {
        why = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    DrawPanel();
    m_sound = SdlSoundSink::Create();
    return true;
}

SdlFrontEnd::~SdlFrontEnd() {
    m_sound.reset();
    if (m_panel)
        SDL_DestroyTexture(m_panel);
    if (m_screen)
        SDL_DestroyTexture(m_screen);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
    SDL_Quit();
}

// The panel is drawn once into a picture of its own (keys up); a held key is outlined on top.
void SdlFrontEnd::DrawPanel() {
    const int w = KeypadPanel::kWidth;
    const int h = KeypadPanel::kHeight;
    std::vector<Uint32> pixels(std::size_t(w) * std::size_t(h), 0x303438);
    const LabelFont font(kLabelFont);
    for (const KeypadPanel::Key& key : KeypadPanel::Keys()) {
        for (int y = key.y; y < key.y + key.h; ++y)
            for (int x = key.x; x < key.x + key.w; ++x) {
                const bool edge =
                    x == key.x || y == key.y || x == key.x + key.w - 1 || y == key.y + key.h - 1;
                pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                    edge ? 0x8C9096 : 0xD8DADD;
            }
        const LabelFont::Picture label = font.Render(key.label);
        const int left = key.x + (key.w - label.width) / 2;
        const int top = key.y + (key.h - label.height) / 2;
        for (int y = 0; y < label.height; ++y)
            for (int x = 0; x < label.width; ++x)
                if (label.alpha[std::size_t(y) * std::size_t(label.width) + std::size_t(x)])
                    pixels[std::size_t(top + y) * std::size_t(w) + std::size_t(left + x)] =
                        0x101010;
    }
    m_panel = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC, w, h);
    if (m_panel)
        SDL_UpdateTexture(m_panel, nullptr, pixels.data(), int(w * sizeof(Uint32)));
}

void SdlFrontEnd::Present() {
    const Framebuffer::Snapshot shot = Framebuffer::Instance().Take();
    SDL_UpdateTexture(m_screen, nullptr, shot.pixels.data(),
                      int(Framebuffer::kWidth * sizeof(std::uint32_t)));
    m_shownChange = shot.changeCount;

    SDL_RenderClear(m_renderer);
    const SDL_Rect screen{0, 0, kScreenW, kScreenH};
    SDL_RenderCopy(m_renderer, m_screen, nullptr, &screen);
    const SDL_Rect panel{kScreenW, 0, KeypadPanel::kWidth, KeypadPanel::kHeight};
    SDL_RenderCopy(m_renderer, m_panel, nullptr, &panel);
    if (m_heldKey) {
        for (const KeypadPanel::Key& key : KeypadPanel::Keys())
            if (key.code == *m_heldKey) {
                SDL_SetRenderDrawColor(m_renderer, 0x00, 0x00, 0x80, 0xFF);
                for (int i = 0; i < 3; ++i) {
                    const SDL_Rect r{kScreenW + key.x + i, key.y + i, key.w - 2 * i, key.h - 2 * i};
                    SDL_RenderDrawRect(m_renderer, &r);
                }
                SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 0xFF);
            }
    }
    SDL_RenderPresent(m_renderer);
}

std::optional<int> SdlFrontEnd::KeyOfPcKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_SPACE:
        return 0;
    case SDLK_1:
        return 1;
    case SDLK_2:
        return 2;
    case SDLK_3:
        return 3;
    case SDLK_F1:
        return 4;
    case SDLK_UP:
        return 5;
    case SDLK_LEFT:
        return 6;
    case SDLK_RIGHT:
        return 7;
    case SDLK_DOWN:
        return 8;
    case SDLK_9:
        return 9;
    case SDLK_0:
        return 10;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 11;
    default:
        return std::nullopt;
    }
}

void SdlFrontEnd::ToScreen(int windowX, int windowY, int& x, int& y) {
    x = std::clamp(windowX / kScale, 0, Framebuffer::kWidth - 1);
    y = std::clamp(windowY / kScale, 0, Framebuffer::kHeight - 1);
}

void SdlFrontEnd::Run() {
    Present();
    while (!m_stopRequested.load()) {
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, kLookMs)) {
            if (Framebuffer::Instance().ChangeCount() != m_shownChange)
                Present();
            continue;
        }
        bool redraw = false;
        switch (event.type) {
        case SDL_QUIT:
            return;
        case SDL_KEYDOWN:
            // Auto-repeat of a held PC key is not a new press.
            if (!event.key.repeat && event.key.keysym.sym == SDLK_F12)
                m_screenshot();
            else if (!event.key.repeat)
                if (const auto code = KeyOfPcKey(event.key.keysym.sym))
                    m_pressKey(*code, true);
            break;
        case SDL_KEYUP:
            if (const auto code = KeyOfPcKey(event.key.keysym.sym))
                m_pressKey(*code, false);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT)
                break;
            if (event.button.x < kScreenW) {
                int x = 0, y = 0;
                ToScreen(event.button.x, event.button.y, x, y);
                m_stylusDown = true;
                m_touch(Stylus::Change::Down, x, y);
                break;
            }
            m_heldKey = KeypadPanel::KeyAt(event.button.x - kScreenW, event.button.y);
            if (m_heldKey)
                m_pressKey(*m_heldKey, true);
            redraw = true;
            break;
        case SDL_MOUSEMOTION:
            // A stroke that began on the screen follows the pointer, kept on the screen's edge.
            if (m_stylusDown) {
                int x = 0, y = 0;
                ToScreen(event.motion.x, event.motion.y, x, y);
                m_touch(Stylus::Change::Move, x, y);
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT)
                break;
            if (m_stylusDown) {
                int x = 0, y = 0;
                ToScreen(event.button.x, event.button.y, x, y);
                m_stylusDown = false;
                m_touch(Stylus::Change::Up, x, y);
            }
            redraw = m_heldKey.has_value();
            if (m_heldKey)
                m_pressKey(*m_heldKey, false);
            m_heldKey.reset();
            break;
        case SDL_WINDOWEVENT:
            redraw = event.window.event == SDL_WINDOWEVENT_EXPOSED;
            break;
        default:
            break;
        }
        if (redraw || Framebuffer::Instance().ChangeCount() != m_shownChange)
            Present();
    }
}

void SdlFrontEnd::Stop() {
    m_stopRequested.store(true);
    SDL_Event event{};
    event.type = m_stopEvent;
    SDL_PushEvent(&event);
}
