// The registry of all pages: the main window owns them, and each page reaches the
// controls of the others through it.
#pragma once

#include <array>

class Link;
class Page;
class EasyPage;
class Easy2Page;
class AlcPage;
class BlcPage;
class ColorPage;
class FacPage;
class LensPage;
class MotionPage;
class PosPage;
class OtherPage;
class KizuPage;
class DspPage;
class EepPage;
class ToolPage;
class RmPage;
class MaskPage;
class RamPage;
class MdpPage;
class AftPage;
class WadjPage;

struct Pages
{
    // Tab positions, in page-control order.
    enum Index {
        EasyTab = 0,
        Easy2Tab = 1,
        AlcTab = 2,
        BlcTab = 3,
        ColTab = 4,
        FacTab = 5,
        LenTab = 6,
        MotTab = 7,
        PosTab = 8,
        OthTab = 9,
        KizTab = 10,
        DspTab = 11,
        EepTab = 12,
        ToolTab = 13,
        RmTab = 14,
        MaskTab = 15,
        RamTab = 16,
        MdpTab = 17,
        AftTab = 18,
        WadjTab = 19,
        Count = 20
    };

    EasyPage *easy = nullptr;
    Easy2Page *easy2 = nullptr;
    AlcPage *alc = nullptr;
    BlcPage *blc = nullptr;
    ColorPage *col = nullptr;
    FacPage *fac = nullptr;
    LensPage *len = nullptr;
    MotionPage *mot = nullptr;
    PosPage *pos = nullptr;
    OtherPage *oth = nullptr;
    KizuPage *kiz = nullptr;
    DspPage *dsp = nullptr;
    EepPage *eep = nullptr;
    ToolPage *tool = nullptr;
    RmPage *rm = nullptr;
    MaskPage *mask = nullptr;
    RamPage *ram = nullptr;
    MdpPage *mdp = nullptr;
    AftPage *aft = nullptr;
    WadjPage *wadj = nullptr;

    // Creates every page (not yet laid out).
    void create(Link &link);
    std::array<Page *, Count> all() const;
};
