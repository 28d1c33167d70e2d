// The registry of all pages: the main window owns them, and each page reaches the
// controls of the others through it.
#pragma once

#include <array>
#include <type_traits>

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
namespace transfer { class Playback; }
namespace kit { class RadioGroup; }

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

    // The one data-file playback that the EEP, Fac and Tool pages share.
    transfer::Playback *playback = nullptr;
    // The main window's hidden form-type selector (the MASK decoder reads it).
    kit::RadioGroup *FormType = nullptr;

    // Creates every page (not yet laid out).
    void create(Link &link);
    std::array<Page *, Count> all() const;

    // The page of a type, for the decoder tables.
    template <class P>
    P *get() const
    {
        if constexpr (std::is_same_v<P, EasyPage>) return easy;
        else if constexpr (std::is_same_v<P, Easy2Page>) return easy2;
        else if constexpr (std::is_same_v<P, AlcPage>) return alc;
        else if constexpr (std::is_same_v<P, BlcPage>) return blc;
        else if constexpr (std::is_same_v<P, ColorPage>) return col;
        else if constexpr (std::is_same_v<P, FacPage>) return fac;
        else if constexpr (std::is_same_v<P, LensPage>) return len;
        else if constexpr (std::is_same_v<P, MotionPage>) return mot;
        else if constexpr (std::is_same_v<P, PosPage>) return pos;
        else if constexpr (std::is_same_v<P, OtherPage>) return oth;
        else if constexpr (std::is_same_v<P, KizuPage>) return kiz;
        else if constexpr (std::is_same_v<P, DspPage>) return dsp;
        else if constexpr (std::is_same_v<P, EepPage>) return eep;
        else if constexpr (std::is_same_v<P, ToolPage>) return tool;
        else if constexpr (std::is_same_v<P, RmPage>) return rm;
        else if constexpr (std::is_same_v<P, MaskPage>) return mask;
        else if constexpr (std::is_same_v<P, RamPage>) return ram;
        else if constexpr (std::is_same_v<P, MdpPage>) return mdp;
        else if constexpr (std::is_same_v<P, AftPage>) return aft;
        else if constexpr (std::is_same_v<P, WadjPage>) return wadj;
        else static_assert(std::is_void_v<P>, "not a page");
    }
};
