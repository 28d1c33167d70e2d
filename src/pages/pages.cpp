#include "pages/pages.h"

#include "pages/page.h"

#include "pages/easypage.h"
#include "pages/easy2page.h"
#include "pages/alcpage.h"
#include "pages/blcpage.h"
#include "pages/colorpage.h"
#include "pages/facpage.h"
#include "pages/lenspage.h"
#include "pages/motionpage.h"
#include "pages/pospage.h"
#include "pages/otherpage.h"
#include "pages/kizupage.h"
#include "pages/dsppage.h"
#include "pages/eeppage.h"
#include "pages/toolpage.h"
#include "pages/rmpage.h"
#include "pages/maskpage.h"
#include "pages/rampage.h"
#include "pages/mdppage.h"
#include "pages/aftpage.h"
#include "pages/wadjpage.h"

#include "link/link.h"
#include "transfer/playback.h"

void Pages::create(Link &link)
{
    easy = new EasyPage(link, *this);
    easy2 = new Easy2Page(link, *this);
    alc = new AlcPage(link, *this);
    blc = new BlcPage(link, *this);
    col = new ColorPage(link, *this);
    fac = new FacPage(link, *this);
    len = new LensPage(link, *this);
    mot = new MotionPage(link, *this);
    pos = new PosPage(link, *this);
    oth = new OtherPage(link, *this);
    kiz = new KizuPage(link, *this);
    dsp = new DspPage(link, *this);
    eep = new EepPage(link, *this);
    tool = new ToolPage(link, *this);
    rm = new RmPage(link, *this);
    mask = new MaskPage(link, *this);
    ram = new RamPage(link, *this);
    mdp = new MdpPage(link, *this);
    aft = new AftPage(link, *this);
    wadj = new WadjPage(link, *this);
    playback = new transfer::Playback(link, &link);
}

std::array<Page *, Pages::Count> Pages::all() const
{
    return {easy, easy2, alc, blc, col, fac, len, mot, pos, oth, kiz, dsp, eep, tool, rm, mask, ram, mdp, aft, wadj};
}
