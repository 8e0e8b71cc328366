#pragma once
// The sections on the left and the sub-items above the list: which category the list shows, in
// which of the two layouts, and the blinking and highlights that invite the first click.

#include <array>

class QTimer;

namespace browser {

class TForm1;

class Navigation
{
public:
    explicit Navigation(TForm1& form);

    // The section press (any mouse button) of section 1..7: Menu1MouseDown … Menu7MouseDown.
    void MenuMouseDown(int section);
    // The sub-item click of sub-item 1..4: ppunkt1Click … ppunkt4Click.
    void ppunktClick(int subItem);
    // Chains the sub-items 20 pixels apart; a section press first narrows empty ones to 0.
    void LayOutSubItems(bool narrowEmpty);

    void Menu1MouseMove(int section); // Menu1MouseMove … Menu7MouseMove
    void Image2MouseMove();           // Image2 and the seven section backgrounds
    void ppunkt2MouseMove();          // all four sub-items
    void Timer1Timer();
    void Timer2Timer();
    // The activation makes sure the blinking runs (it does not restart a running timer).
    void EnableTimer1();

    void ApplyDetailsLayout();
    void ApplyWideListLayout();

private:
    void ApplyLayout(bool wide);
    // Hides the lit markers of all sections but `section`.
    void HideMarkersExcept(int section);

    TForm1& form_;
    QTimer* Timer1;
    QTimer* Timer2;
};

} // namespace browser
