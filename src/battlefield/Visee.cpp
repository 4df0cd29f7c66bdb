// The aiming bars: each keeps its label in step; the angle also turns the cannon at once.
#include <QScrollBar>

#include "window/Form1.h"

namespace tir {

// Angle(index) shows the bar's value; the cannon turns with its sound and is redrawn at once.
void Form1::BHAngle_Change(int index) {
    Angle[index]->SetCaption(TexteSimple(BHAngle[index]->value()));
    JoueSon(Son::MuraxDeplace);
    CalculeMurax(index);
}

// Force(index) shows the bar's value; the force does not show on the field.
void Form1::BHForce_Change(int index) {
    Force[index]->SetCaption(TexteSimple(BHForce[index]->value()));
}

}  // namespace tir
