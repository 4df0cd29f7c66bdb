// The bevelled controls of the lower strip: panel, frame, command button, ribbon button, and
// the bordered label that reports clicks.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <vector>

#include "platform/Nombres.h"

namespace tir {

// Turns a caption into the words a screen reader should say for it (a row of arrows, say).
using LectureCaption = QString (*)(const QString& caption);

// Where a panel's caption sits, by the panel's own alignment codes.
enum class Alignement : int {
    GaucheCentre = 1,  // left, vertically centred
    DroiteCentre = 4,  // right, vertically centred
    Centre = 7,
};

// A raised bevelled panel showing a caption.
class Panneau3D : public QLabel {
    Q_OBJECT
  public:
    explicit Panneau3D(QWidget* parent = nullptr);
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    // From now on the accessible name reads "<nom> : <caption>", and follows every new caption;
    // `lecture`, when given, says the caption in words.
    void SetNomAccessible(const QString& nom, LectureCaption lecture = nullptr);
    Couleur BackColor() const;
    void SetBackColor(Couleur c);
    Couleur ForeColor() const;
    void SetForeColor(Couleur c);
    Alignement Alignment() const { return alignement_; }
    void SetAlignment(Alignement a);
    // Repaints at once, also inside a running handler.
    void Refresh();

  private:
    Alignement alignement_ = Alignement::Centre;
    QString nom_;
    LectureCaption lecture_ = nullptr;
};

// A bevelled group box with a title; hiding it hides its children.
class Cadre3D : public QFrame {
    Q_OBJECT
  public:
    explicit Cadre3D(const QString& titre, QWidget* parent = nullptr);
    QString Caption() const { return titre_; }
    // Keeps the title clear of columns gauche..droite, where a child sits on the top edge: the
    // words that fit before it stay there, the others go on after it.
    void DegageTitre(int gauche, int droite);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceTitre();

    QString titre_;
    QFrame* bord_;
    QLabel* debut_;  // the title, or its words before the child
    QLabel* suite_;  // its words after the child
    int gauche_ = -1, droite_ = -1;
};

// A standard push button that, when it has the focus, is pressed by Space (on release, as Qt
// does) or by Enter (once per key press: a held key does not press it again). A disabled button
// never has the focus and never reacts.
class BoutonCommande : public QPushButton {
    Q_OBJECT
  public:
    explicit BoutonCommande(const QString& caption, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A bevelled push button with a caption.
class Bouton3D : public BoutonCommande {
    Q_OBJECT
  public:
    explicit Bouton3D(const QString& caption, QWidget* parent = nullptr);
};

// A toggle button that shows a 32 x 32 picture and stays down when pressed; the buttons of one
// group release each other. Clicked reports (index, new value). Every button of a group stays
// on the Tab path, and Space on the focused one presses it.
class RubanBouton : public QToolButton {
    Q_OBJECT
  public:
    RubanBouton(int index, const QImage& picture, QWidget* parent = nullptr);
    bool Value() const { return isChecked(); }
    void SetValue(bool down) { setChecked(down); }
    int Index() const { return index_; }
    // Makes one group of `boutons`: a button pushed down releases the others.
    static void Groupe(const std::vector<RubanBouton*>& boutons);

  signals:
    void Click(int index, bool value);

  protected:
    // A click pushes the button down; a button already down stays down.
    void nextCheckState() override;

  private:
    int index_;
    std::vector<RubanBouton*> autres_;  // the rest of its group
};

// A label with a single-line border and centred text that reports clicks. Given the focus, it
// takes Space or Enter for a click. A double click is one click: the second press of it is the
// double click, which reports nothing.
class Etiquette : public QLabel {
    Q_OBJECT
  public:
    explicit Etiquette(const QString& caption, QWidget* parent = nullptr);
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    // As for the panel: the accessible name reads "<nom> : <caption>".
    void SetNomAccessible(const QString& nom);

  signals:
    void Click();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString nom_;
    bool doubleClic_ = false;  // the release that ends a double click is no click
};

// A clear focus mark for `controle`: a plain rectangle `retrait` pixels inside its edges, in
// `couleur`, shown while the control has the focus. A child of its own laid over the control,
// so that nothing moves or changes size.
void MarqueFocus(QWidget* controle, int retrait, Couleur couleur);

}  // namespace tir
