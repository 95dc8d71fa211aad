#pragma once

// value × factor in double precision, truncated toward zero, low 16 bits kept.
// A product that is not a number gives 0.
short ScaleTrunc(int value, double factor);

// A double truncated toward zero with its low 16 bits kept; not a number gives
// 0, and values beyond the 64-bit range are clamped to it first.
short TruncTo16(double value);

// The origin an owner gives the objects filed in it: X + XCenter and
// Y + YCenter of a window's GObject part; the screen's corner (0, 0) for the
// visible catalog or any owner that is not a window.
void OwnerOrigin(unsigned int udesc, int* ox, int* oy);

// A part of the screen: columns x0 to x1 - 1, rows y0 to y1 - 1.
struct ScreenBox {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
};

// Common base of every drawn object: geometry in screen pixels, hot spot,
// layer, scale factors, own descriptor and owner.
class GObject {
public:
    short X;             // screen pixels (windows and buttons; sprites and
    short Y;             // texts are placed by their parameter pair)
    short XSize;
    short YSize;
    short XCenter;       // hot spot: the point placed at the position
    short YCenter;
    int VQnum;           // item position in the owner's layer; -1 while hidden
    char Released;       // set by a sprite's destructor
    unsigned int Desc;   // own descriptor, fixed by Initializing
    unsigned char ZLevel;  // layer it is filed in when shown
    float SX;            // scale factors for design units; CFG's at construction
    float SY;
    unsigned int UDesc;  // owner whose layer catalog lists this object
    // A new number whenever what the object shows may have changed other than
    // by moving (picture, alpha, text): the frame loop redraws it then.
    unsigned long Look;
    // Where the frame loop last listed the object: its frame and position.
    unsigned long ListedFrame;
    unsigned int ListedAt;

    GObject();
    ~GObject();

    short GetX() const { return X; }
    short GetY() const { return Y; }
    short GetXSize() const { return XSize; }
    short GetYSize() const { return YSize; }
    short GetXCenter() const { return XCenter; }
    short GetYCenter() const { return YCenter; }
    unsigned char GetZLevel() const { return ZLevel; }
    unsigned int GetDesc() const { return Desc; }
    unsigned int GetUDesc() const { return UDesc; }
    void SetSX(float sx) { SX = sx; }
    void SetSY(float sy) { SY = sy; }
    void SetScale(float sx, float sy) { SX = sx; SY = sy; }

    void SetSize(int xs, int ys, float kx, float ky);
    void SetCoord(int x, int y, float kx, float ky);
    void SetCenter(int x, int y, float kx, float ky);
    void SetZLevel(unsigned char z);
    void Show();
    void Hide();
    void Touch();
};
