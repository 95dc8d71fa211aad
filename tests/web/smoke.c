/* The web libraries working together in a browser: SDL 1.2 over SDL 2, a PNG
   read from memory and zoomed, Cyrillic text, both kinds of timer and an
   event filter, driven by the browser's frame callback instead of a loop
   that never returns. It draws what it counts, and prints one line a second:
   "smoke: frames F timer T addtimer A filtered E keys K clicks C". */
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_rotozoom.h>
#include <SDL/SDL_ttf.h>
#include <emscripten.h>
#include <stdio.h>

/* 2 x 2 RGBA: red, green / blue, half-transparent white. */
static const unsigned char kPicture[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d,
    0x24, 0x00, 0x00, 0x00, 0x1b, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x78, 0xa6, 0xa1, 0xf1,
    0x5f, 0xe3, 0x84, 0xcd, 0x7f, 0x06, 0x8d, 0x80, 0x67, 0xff, 0x7f, 0xfd, 0xfa, 0xd5, 0x00, 0x00,
    0x51, 0x2d, 0x0a, 0x2c, 0xe1, 0x9e, 0xa4, 0x9f, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44,
    0xae, 0x42, 0x60, 0x82};

enum { kTick = 1 };

static SDL_Surface* screen;
static SDL_Surface* zoomed;
static SDL_Surface* greeting;
static TTF_Font* font;
static volatile int timerCalls, addTimerCalls, filtered, keys, clicks;
static int frames;

static int Fail(const char* what, const char* why) {
  printf("smoke: FAILED %s: %s\n", what, why);
  return 1;
}

static Uint32 OnSetTimer(Uint32 interval) {
  ++timerCalls;
  return interval;
}

/* Pushes an event, so the filter and the queue see what the timer did. */
static Uint32 OnAddTimer(Uint32 interval, void* param) {
  SDL_Event tick;
  (void)param;
  ++addTimerCalls;
  tick.type = SDL_USEREVENT;
  tick.user.code = kTick;
  tick.user.data1 = tick.user.data2 = NULL;
  SDL_PushEvent(&tick);
  return interval;
}

static int Filter(const SDL_Event* event) {
  ++filtered;
  if (event->type == SDL_KEYDOWN) ++keys;
  if (event->type == SDL_MOUSEBUTTONDOWN) ++clicks;
  return 1;
}

static void Frame(void) {
  SDL_Event event;
  char line[160];
  SDL_Color white = {255, 255, 255, 0};
  SDL_Rect at = {40, 40, 0, 0};
  SDL_Rect textAt = {40, 300, 0, 0};
  SDL_Rect countAt = {40, 400, 0, 0};
  SDL_Surface* counts;

  while (SDL_PollEvent(&event)) {
  }
  ++frames;
  SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 16, 24, 64));
  SDL_BlitSurface(zoomed, NULL, screen, &at);
  SDL_BlitSurface(greeting, NULL, screen, &textAt);
  snprintf(line, sizeof line, "frames %d timer %d addtimer %d filtered %d keys %d clicks %d", frames,
           timerCalls, addTimerCalls, filtered, keys, clicks);
  counts = TTF_RenderUTF8_Blended(font, line, white);
  if (counts) {
    SDL_BlitSurface(counts, NULL, screen, &countAt);
    SDL_FreeSurface(counts);
  }
  SDL_Flip(screen);
  if (frames % 60 == 0) printf("smoke: %s\n", line);
}

int main(int argc, char** argv) {
  SDL_Surface* picture;
  TTF_Font* big;
  SDL_Color gold = {255, 210, 90, 0};
  (void)argc;
  (void)argv;

  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0) return Fail("SDL_Init", SDL_GetError());
  screen = SDL_SetVideoMode(800, 600, 32, SDL_SWSURFACE);
  if (!screen) return Fail("SDL_SetVideoMode", SDL_GetError());

  picture = IMG_Load_RW(SDL_RWFromConstMem(kPicture, sizeof kPicture), 1);
  if (!picture) return Fail("IMG_Load_RW", IMG_GetError());
  zoomed = zoomSurface(picture, 100.0, 100.0, SMOOTHING_OFF);
  SDL_FreeSurface(picture);
  if (!zoomed || zoomed->w != 200 || zoomed->h != 200) return Fail("zoomSurface", "not 200 x 200");

  if (TTF_Init() < 0) return Fail("TTF_Init", TTF_GetError());
  big = TTF_OpenFont("/fonts/DejaVuSans.ttf", 36);
  if (!big) return Fail("TTF_OpenFont", TTF_GetError());
  greeting = TTF_RenderUTF8_Blended(big, "С Новым годом!", gold);
  if (!greeting) return Fail("TTF_RenderUTF8_Blended", TTF_GetError());
  TTF_CloseFont(big);
  font = TTF_OpenFont("/fonts/DejaVuSans.ttf", 18);
  if (!font) return Fail("TTF_OpenFont", TTF_GetError());

  SDL_SetEventFilter(Filter);
  if (SDL_SetTimer(50, OnSetTimer) < 0) return Fail("SDL_SetTimer", SDL_GetError());
  if (!SDL_AddTimer(100, OnAddTimer, NULL)) return Fail("SDL_AddTimer", SDL_GetError());

  printf("smoke: started\n");
  emscripten_set_main_loop(Frame, 0, 1);
  return 0;
}
