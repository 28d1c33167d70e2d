#pragma once

#include "pages/page.h"

#include <array>

// Privacy masks A..D in centre/size form, the camera's two 16-bit coordinate groups, the
// digital pan/tilt/zoom window and the non-saved picture reversal.
class MaskPage : public Page
{
    Q_OBJECT
public:
    MaskPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_MASK(r); }
    void resetState() override;

    // Reads of the start/end view (the EASY2 chain) and of this page; `mask` is 0 (A) .. 3 (D).
    void MASKERead();
    void MASKE_HRead(int mask);
    void MASKE_VRead(int mask);
    void MASKRead();
    void MASKRead2(int mask);
    void MASKRead3(int mask);
    void MASKRead4(int mask);
    void MASKRead5(int mask);
    void MASKRead6(int mask);
    void MASKRead7(int mask);
    void MASKRead8(int mask);
    void MASKRead9(int mask);
    void MASKRead10(int mask);
    void MASKRead11(int mask);
    // The EASY2 chain's next mask read after a start/end reply: the next mask, then V.
    void MASKE_HNextRead(const ResponseFrame &r);
    void MASKE_VNextRead(const ResponseFrame &r);

    // Apply operations. The start/end ones fill the EASY2 copy (and FMASK on the Fac page);
    // the EASY2 and Fac decoders call them.
    void MASKESet(const ResponseFrame &r);
    void MASKE_HSet(const ResponseFrame &r);
    void MASKE_VSet(const ResponseFrame &r);
    void MASKSet(const ResponseFrame &r);
    void MASKSet2(const ResponseFrame &r);
    void MASKSet3(const ResponseFrame &r);
    void MASKSet4(const ResponseFrame &r);
    void MASKSet5(const ResponseFrame &r);
    void MASKSet6(const ResponseFrame &r);
    void MASKSet7(const ResponseFrame &r);
    void MASKSet8(const ResponseFrame &r);
    void MASKSet9(const ResponseFrame &r);
    void MASKSet10(const ResponseFrame &r);
    void MASKSet11(const ResponseFrame &r);
    void MASKDPTSet(const ResponseFrame &r);
    void MASKOTHSet(const ResponseFrame &r);

    void Trans_end_MASK(const ResponseFrame &r);

    // Handlers of this page, mask bound in the connection.
    void MASKOnOffClick(int mask);
    void MASK_HPUDClick(int mask);   // H and V position up-downs: the pair
    void MASK_WUDClick(int mask);    // width and height up-downs: the pair
    void dpt1_xudClick();
    void dpt1_yudClick();
    void dpt1_wudClick();
    void dpt_cancelClick();
    void MaHRevClick();
    void MaVRevClick();
    void MASKTimer1Timer();

    // Handlers of the EASY2 copy.
    void MASKOnOffEClick(int mask);
    void MASKConnClick(int mask);
    void MASK_HSUDClick(int mask);   // H start and H end up-downs: the pair
    void MASK_VSUDClick(int mask);   // V start and V end up-downs: the pair
    // The move and resize buttons of "Operate".
    enum class Move { Up, Down, Left, Right, High, Low, Wide, Narrow };
    void mask_moveClick(Move move);

    static constexpr int MaskCount = 4;    // index = mask number, 0 = A .. 3 = D
    static constexpr int FieldCount = 4;   // H P, V P, Wi, He (the camera's item order)

    template <class T> using PerMask = std::array<T *, MaskCount>;
    template <class T> using PerFieldAndMask = std::array<PerMask<T>, FieldCount>;

    // "Privacy MASK": MASK1_HP/MASK1_HPUD .. MASK4_H/MASK4_HUD, indexed by mask.
    PerMask<kit::Edit> MASK_HP{}, MASK_VP{}, MASK_W{}, MASK_H{};
    PerMask<kit::UpDown> MASK_HPUD{}, MASK_VPUD{}, MASK_WUD{}, MASK_HUD{};
    PerMask<kit::RadioGroup> MASKOnOff{};   // MASK1OnOff..MASK4OnOff
    QCheckBox *pm_save = nullptr;

    // "Privacy MASK 2" (MASKn_WHP, _WVP, _WW, _WH and their ...UD) and "Privacy MASK 3"
    // (MASKn_RHP, _RVP, _RW, _RH and their ...UD), indexed [field][mask]. Display only.
    PerFieldAndMask<kit::Edit> Group2Edit{}, Group3Edit{};
    PerFieldAndMask<kit::UpDown> Group2UD{}, Group3UD{};

    // "Digital P/T/Z"
    kit::Edit *dpt1_xe = nullptr;
    kit::Edit *dpt1_ye = nullptr;
    kit::Edit *dpt1_we = nullptr;
    kit::UpDown *dpt1_xud = nullptr;
    kit::UpDown *dpt1_yud = nullptr;
    kit::UpDown *dpt1_wud = nullptr;
    QPushButton *dpt1_cancel = nullptr;

    kit::RadioGroup *MaHRev = nullptr;
    kit::RadioGroup *MaVRev = nullptr;

    // Re-reads the page a while after a write; armed by the decoder only.
    kit::Timer *MASKTimer1 = nullptr;

private:
    void readMask(uint8_t item, int mask);
    bool answersTheMaskAsked(const ResponseFrame &r) const;
    void sendPair(uint8_t item, int mask, int first, int second);
    void groupSet(const ResponseFrame &r, PerFieldAndMask<kit::UpDown> &group, int field);
    void sendDpt();
    bool toolForm() const;

    // Which mask the refresh chain asks for next.
    int counter_ = 0;

    QWidget *layoutCentreSize();
    QWidget *layoutWideGroup(const QString &caption, QChar tag, PerFieldAndMask<kit::Edit> &edits,
                             PerFieldAndMask<kit::UpDown> &upDowns);
    QWidget *layoutDpt();
};
