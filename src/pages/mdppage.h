#pragma once

#include "pages/page.h"

#include <array>

class MdpPage : public Page
{
    Q_OBJECT
public:
    MdpPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void MotIntRead();
    void attachConnection(Connection &connection) override;
    void connectHandlers() override;

    // The camera's stored line settings from a 0x89/0x11 reply, here and on the EASY page.
    void CommIDSet2(const ResponseFrame &r);

    // The camera's stored line settings, written to the camera (effective at its next
    // power-on); the PC's line settings, applied a second later.
    void C_baud_rateClick();
    void C_stop_bitClick();
    void T_baud_rateClick();
    void T_stop_bitClick();

    static constexpr int Levels = 10; // the items of the Motion page's MoLv

    // "Motion Detect Parameter"
    kit::Edit *mot_t_it = nullptr;
    kit::UpDown *mot_t_itUD = nullptr;
    QPushButton *mot_t_it_s = nullptr;
    kit::Edit *mot_t_itf = nullptr;
    kit::UpDown *mot_t_itfUD = nullptr;
    QPushButton *mot_t_itf_s = nullptr;
    // Level thresholds: mot_t_l0 .. mot_t_l9, mot_t_l0UD .. mot_t_l9UD, mot_t_l0_s .. mot_t_l9_s.
    std::array<kit::Edit *, Levels> mot_t_l{};
    std::array<kit::UpDown *, Levels> mot_t_lUD{};
    std::array<QPushButton *, Levels> mot_t_l_s{};

    // The camera's stored line settings.
    QGroupBox *GroupBox38 = nullptr;
    QLabel *Label184 = nullptr;
    kit::RadioGroup *C_baud_rate = nullptr;
    kit::RadioGroup *C_stop_bit = nullptr;
    // The PC's line settings.
    QGroupBox *GroupBox39 = nullptr;
    QLabel *Label185 = nullptr;
    kit::RadioGroup *T_baud_rate = nullptr;
    kit::RadioGroup *T_stop_bit = nullptr;

private:
    Connection *connection_ = nullptr;
};
