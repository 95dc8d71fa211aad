// glimmer-example: the smallest complete application on the Glimmer engine,
// meant to be copied as the start of a scene of your own.
//
// It shows, in the order every application does it:
//   1. GlimmerInitEngine with a configuration file;
//   2. its own set-up: a window created in GDT, sprites, texts and buttons
//      created in the window's own table, a second window that follows the
//      mouse, and a frame function;
//   3. RunGlimmerEngine, which never returns. The engine's default event
//      filter stays installed, so Escape ends the program (exit status 0),
//      Print Screen saves the screen as a BMP, and mouse events reach buttons.
//
// Run it from a folder it may write to: it writes its settings and pictures
// into ./example-data when it starts, and screenshots into the folder itself.
// Each button click prints one line on standard output.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <glimmer/glimmer.h>
#include "tools/png/PngWriter.h"

namespace {

const char* const DataFolder = "example-data";
const char* const ConfigFile = "example-data/example.cfg";
const char* const FontFolder = "/usr/share/fonts/truetype/dejavu/";

// Layers inside the main window: lower layers are drawn first, and the screen
// is never cleared, so layer 0 holds a picture that covers all of it.
constexpr unsigned char SkyLayer = 0;
constexpr unsigned char PictureLayer = 1;
constexpr unsigned char TextLayer = 2;

// The example's files. A real application ships its pictures; this one paints
// them, so that the repository holds no binary files.

struct Rgb {
    unsigned char r, g, b;
};

RgbaImage Sky(int width, int height) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.At(x, y);
            p[0] = static_cast<std::uint8_t>(10 + 30 * y / height);
            p[1] = static_cast<std::uint8_t>(20 + 40 * y / height);
            p[2] = static_cast<std::uint8_t>(60 + 60 * y / height);
            p[3] = 255;
        }
    return image;
}

// A disc with fully transparent corners: a sprite keeps the picture's alpha.
RgbaImage Disc(int size, Rgb colour) {
    RgbaImage image(size, size);
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - r;
            const double dy = y + 0.5 - r;
            std::uint8_t* p = image.At(x, y);
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
            p[3] = dx * dx + dy * dy <= r * r ? 255 : 0;
        }
    return image;
}

RgbaImage Plate(int width, int height, Rgb colour) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool border = x < 3 || y < 3 || x >= width - 3 || y >= height - 3;
            std::uint8_t* p = image.At(x, y);
            p[0] = border ? 200 : colour.r;
            p[1] = border ? 200 : colour.g;
            p[2] = border ? 220 : colour.b;
            p[3] = 255;
        }
    return image;
}

bool WriteText(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

// A picture and the sprite file that names it with its hot spot. Sprite file
// names are relative to the file-system root (FileSystemFile).
bool WriteSprite(const std::string& name, const RgbaImage& image, int hotX, int hotY) {
    const std::string folder = std::string(DataFolder) + "/";
    return WritePng(folder + name + ".png", image) &&
           WriteText(folder + name + ".spr",
                     name + ".png " + std::to_string(hotX) + " " + std::to_string(hotY) + "\n");
}

bool WriteExampleData() {
    std::error_code error;
    std::filesystem::create_directories(DataFolder, error);
    if (error) return false;

    // Engine settings. Positions and sizes in this program are design units
    // of an 800 x 600 screen; another Width and Height scales everything.
    const std::string config =
        "//// glimmer-example: engine settings\n"
        "Width 800\n"
        "Height 600\n"
        "Bpp 32\n"
        "Caption Glimmer-Example\n"
        "ShowFps 1\n"
        "FileSystemFile " + std::string(DataFolder) + "\n"
        "FontConfigFile fonts.cfg\n";

    // Families "main" and "system"; the rate display needs "system".
    // TrueType files are opened by the path given here, not through the root.
    const std::string fonts = std::string("2\n") +
                              "main " + FontFolder + "DejaVuSans.ttf 2 18 24\n"
                              "system " + FontFolder + "DejaVuSansMono.ttf 1 12\n";

    return WriteText(ConfigFile, config) && WriteText(std::string(DataFolder) + "/fonts.cfg", fonts) &&
           WriteSprite("sky", Sky(800, 600), 0, 0) &&
           WriteSprite("lamp-off", Disc(120, {190, 40, 40}), 60, 60) &&
           WriteSprite("lamp-on", Disc(120, {40, 190, 60}), 60, 60) &&
           WriteSprite("plate", Plate(220, 80, {40, 70, 160}), 110, 40) &&
           WriteSprite("follower", Disc(24, {250, 220, 40}), 12, 12) &&
           WriteSprite("mirror", Disc(24, {40, 220, 230}), 12, 12) &&
           WriteSprite("ticker", Disc(12, {255, 255, 255}), 6, 6);
}

// The scene. Callbacks are plain functions, so what they need lives here.

struct Scene {
    unsigned int lampOff = 0;  // the two pictures the lamp button swaps
    unsigned int lampOn = 0;
    CText* counterText = nullptr;
    int clicks = 0;
    unsigned int ticker = 0;
};
Scene TheScene;

// A window covering the screen. Its parameter pair's first value is the
// number of items per layer; `slots` is the size of its own table.
Window* NewWindow(short itemsPerLayer, int slots, unsigned char level, unsigned int& desc) {
    short params[2] = {itemsPerLayer, 0};
    desc = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, params, static_cast<unsigned long>(slots)));
    Window* window = ObjectOf<Window>(desc);
    window->SetCoord(0, 0, CFG.Scalex, CFG.Scaley);
    window->SetSize(800, 600, CFG.Scalex, CFG.Scaley);
    // Set the level before Show and Activate: they file the window by it.
    window->SetZLevel(level);
    return window;
}

// A sprite created in a window's table, so that it is drawn by that window.
// The parameter pair is its place, in design units from the window's origin,
// and stays writable through GDT.GetParams to move it later.
unsigned int NewSprite(Window* window, const char* spriteFile, short x, short y, unsigned char level) {
    short place[2] = {x, y};
    DTable* table = window->GetTable();
    const unsigned int desc = static_cast<unsigned int>(table->CreateDescriptor(TypeSprite, place, 1));
    // Factors 0.0 mean: scale from the design size to the configured screen.
    ObjectOf<Sprite>(desc, *table)->Load(spriteFile, level, 0.0f, 0.0f);
    return desc;
}

CText* NewText(Window* window, const char* text, const char* font, short x, short y, Rgb colour) {
    short place[2] = {x, y};
    DTable* table = window->GetTable();
    const unsigned int desc = static_cast<unsigned int>(table->CreateDescriptor(TypeText, place, 1));
    CText* object = ObjectOf<CText>(desc, *table);
    object->Create(text, font);
    object->ChangeColor(colour.r, colour.g, colour.b);
    object->SetZLevel(TextLayer);
    object->Show();
    return object;
}

// A button in a window's table. Its box is in design units measured from the
// window's corner; it does not follow its sprite, so the two are lined up here.
Button* NewButton(Window* window, short x, short y, short w, short h, ClickCallback click, TrackCallback track,
                  unsigned int sprite) {
    DTable* table = window->GetTable();
    const unsigned int desc = static_cast<unsigned int>(table->CreateDescriptor(TypeButton, nullptr, 1));
    Button* button = ObjectOf<Button>(desc, *table);
    button->CreateButton(x, y, w, h, click, track);
    button->AssignSprite(sprite);
    button->Show();  // shows the sprite it is tied to
    return button;
}

void Say(const char* line) {
    std::printf("%s\n", line);
    // Whoever reads the output (a terminal, a pipe, a test) sees each line
    // as it happens, not when the buffer fills.
    std::fflush(stdout);
}

// One click brings a press and a release, and both call the callback; the
// lamp switches on the press only.
void LampClicked(const SDL_MouseButtonEvent* event, int, int, unsigned int button, unsigned int sprite) {
    if (event->type != SDL_MOUSEBUTTONDOWN) return;
    Button* lamp = ObjectOf<Button>(button);
    const bool switchOn = sprite == TheScene.lampOff;
    lamp->Hide();
    lamp->AssignSprite(switchOn ? TheScene.lampOn : TheScene.lampOff);
    lamp->Show();
    Say(switchOn ? "lamp: on" : "lamp: off");
}

void CounterClicked(const SDL_MouseButtonEvent* event, int, int, unsigned int, unsigned int) {
    if (event->type != SDL_MOUSEBUTTONDOWN) return;
    ++TheScene.clicks;
    const std::string text = "Clicks: " + std::to_string(TheScene.clicks);
    // ChangeText drops the old rendering; the next frame renders the new one.
    TheScene.counterText->ChangeText(text.c_str());
    Say(("counter: " + std::to_string(TheScene.clicks)).c_str());
}

// Motion reaches every button of the tracked window wherever the pointer is;
// x and y are measured from the window's corner in screen pixels, while a
// sprite's place is in design units, hence the division by the scale.
void FollowPointer(const SDL_MouseMotionEvent*, int x, int y, unsigned int, unsigned int sprite) {
    short* place = GDT.GetParams(sprite);
    place[0] = static_cast<short>(x / CFG.Scalex);
    place[1] = static_cast<short>(y / CFG.Scaley);
}

void MirrorPointer(const SDL_MouseMotionEvent*, int x, int y, unsigned int, unsigned int sprite) {
    short* place = GDT.GetParams(sprite);
    place[0] = static_cast<short>(800 - x / CFG.Scalex);
    place[1] = static_cast<short>(y / CFG.Scaley);
}

// Called at the start of every frame with its number; what it changes is drawn
// in the same frame.
void Frame(unsigned int frame) {
    short* place = GDT.GetParams(TheScene.ticker);
    place[0] = static_cast<short>(frame * 4 % 800);
    // Frame 0 has been flipped by the time frame 1 starts.
    if (frame == 1) Say("running");
}

void BuildScene() {
    unsigned int mainDesc = 0;
    Window* main = NewWindow(32, 64, 0, mainDesc);

    GetGObject(NewSprite(main, "sky.spr", 0, 0, SkyLayer))->Show();
    NewText(main, "Click the lamp and the counter; move the mouse. Escape ends.", "main 18", 20, 40,
            {230, 230, 240});
    NewText(main, "Lamp", "main 18", 178, 380, {230, 230, 240});

    TheScene.lampOff = NewSprite(main, "lamp-off.spr", 200, 300, PictureLayer);
    TheScene.lampOn = NewSprite(main, "lamp-on.spr", 200, 300, PictureLayer);
    NewButton(main, 140, 240, 120, 120, LampClicked, nullptr, TheScene.lampOff)->Activate();

    const unsigned int plate = NewSprite(main, "plate.spr", 560, 300, PictureLayer);
    NewButton(main, 450, 260, 220, 80, CounterClicked, nullptr, plate)->Activate();
    TheScene.counterText = NewText(main, "Clicks: 0", "main 24", 490, 284, {255, 255, 255});

    TheScene.ticker = NewSprite(main, "ticker.spr", 0, 580, PictureLayer);
    GetGObject(TheScene.ticker)->Show();

    // Shown to be drawn, active to be offered mouse presses.
    main->Show();
    main->Activate();

    // The tracked window sits above the main one. It is shown but not active:
    // motion comes to it through TrackedWindow, never through the search for
    // a press, and its buttons, left inactive, take no presses anyway.
    unsigned int trackedDesc = 0;
    Window* tracked = NewWindow(8, 8, 1, trackedDesc);
    NewButton(tracked, 0, 0, 0, 0, nullptr, FollowPointer,
              NewSprite(tracked, "follower.spr", 600, 450, PictureLayer));
    NewButton(tracked, 0, 0, 0, 0, nullptr, MirrorPointer,
              NewSprite(tracked, "mirror.spr", 200, 450, PictureLayer));
    tracked->Show();
    TrackedWindow = trackedDesc;
}

}  // namespace

int main(int, char**) {
    if (!std::filesystem::exists(std::string(FontFolder) + "DejaVuSans.ttf")) {
        std::fprintf(stderr, "glimmer-example: the DejaVu fonts are missing (%s)\n", FontFolder);
        return 1;
    }
    if (!WriteExampleData()) {
        std::fprintf(stderr, "glimmer-example: cannot write %s/ in the working folder\n", DataFolder);
        return 1;
    }

    GlimmerInitEngine(ConfigFile);
    BuildScene();
    RegisterFrameFunction(Frame);
    RunGlimmerEngine();
}
