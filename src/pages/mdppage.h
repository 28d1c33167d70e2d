#pragma once

#include "pages/page.h"

#include <array>

// The motion detector's tuning: the threshold of each of the ten levels and two interval
// times, each sent by its own button; and the camera's and the PC's line settings.
class MdpPage : public Page
{
    Q_OBJECT
public:
    MdpPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_MotPara(r); }
    void attachConnection(Connection &connection) override;
    void connectHandlers() override;

    // Reads of the refresh chain; the fixed interval is read with the Motion page's MotInt2Read.
    void MotIntRead();
    // The thresholds of levels 2k and 2k + 1.
    void MotParaRead(int pair);
    // The camera's stored line settings (0x89/0x11).
    void CommIDRead2();

    void MotIntSet(const ResponseFrame &r);
    void MotInt2Set(const ResponseFrame &r);
    void MotParaSet(const ResponseFrame &r);

    void Trans_end_MotPara(const ResponseFrame &r);

    // The "send" buttons.
    void mot_t_it_sClick();
    void mot_t_itf_sClick();
    // mot_t_l0_sClick .. mot_t_l9_sClick: the level is bound in the connection.
    void mot_t_l_sClick(int level);

    // The camera holds 256 - threshold in one byte.
    static uint8_t thresholdByte(int threshold) { return uint8_t(256 - threshold); }
    static int thresholdOf(uint8_t b) { return 256 - b; }

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
    void MotParaFirstRead() { MotParaRead(0); }
    void MotParaNextRead(const ResponseFrame &r);
    // An interval time (16 bits, high byte first) with data 3 = 1.
    void sendInterval(uint8_t item, const kit::UpDown *upDown);

    Connection *connection_ = nullptr;
};
