// The real message box, opened once per style on the offscreen platform and answered with OK.
#include "platform/BoiteMessageQt.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

// As the desktop's style on X11 is: a picture beside each dialog button's text.
class StyleBoutonsImages : public QProxyStyle {
public:
    StyleBoutonsImages() : QProxyStyle(QStringLiteral("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* retour) const override {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
                   ? 1
                   : QProxyStyle::styleHint(hint, option, widget, retour);
    }
};

struct BoiteVue {
    bool vue = false;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QList<QAbstractButton*> boutons;
    bool boutonOk = false;
    bool okSansImage = false;
    QString texte;
    QString titre;
    QWidget* parent = nullptr;
    Qt::WindowModality modalite = Qt::NonModal;
};

// Shows the box and, from inside its modal loop, reads it and presses OK.
BoiteVue montrerEtRepondre(QWidget* parent, const QString& texte, int style, const QString& titre) {
    BoiteVue vue;
    QObject garde; // cancels the reader if the box never runs an event loop
    QTimer::singleShot(0, &garde, [&vue] {
        auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!boite) {
            return;
        }
        vue = {true,
               boite->icon(),
               boite->buttons(),
               boite->button(QMessageBox::Ok) != nullptr,
               boite->button(QMessageBox::Ok) && boite->button(QMessageBox::Ok)->icon().isNull(),
               boite->text(),
               boite->windowTitle(),
               boite->parentWidget(),
               boite->windowModality()};
        if (QAbstractButton* ok = boite->button(QMessageBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else {
            boite->done(0);
        }
    });
    BoiteMessageQt().MsgBox(parent, texte, style, titre);
    return vue;
}

TEST(BoiteMessageQt, Styles_showTheirIconWithOneOkButton_andReturnOnOk) {
    struct Cas {
        int style;
        QMessageBox::Icon icone;
    };
    const Cas cas[] = {
        {vbCritical, QMessageBox::Critical},
        {32, QMessageBox::Question},
        {48, QMessageBox::Warning},
        {64, QMessageBox::Information},
    };
    QApplication::setStyle(new StyleBoutonsImages);
    QWidget fenetre;
    fenetre.show();
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.style);
        const QString texte = QStringLiteral("La saisie des Euros doit être du numérique !!!");

        const BoiteVue vue =
            montrerEtRepondre(&fenetre, texte, c.style, QStringLiteral("Tarvane 1.0"));

        ASSERT_TRUE(vue.vue) << "no modal message box was open";
        EXPECT_EQ(vue.icone, c.icone);
        EXPECT_EQ(vue.boutons.size(), 1);
        EXPECT_TRUE(vue.boutonOk);
        EXPECT_TRUE(vue.okSansImage) << "a plain OK, with no style's picture beside it";
        EXPECT_EQ(vue.texte, texte);
        EXPECT_EQ(vue.titre, QStringLiteral("Tarvane 1.0"));
        EXPECT_EQ(vue.parent, &fenetre);
        EXPECT_EQ(vue.modalite, Qt::ApplicationModal);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the box is gone once OK is pressed";
}

TEST(BoiteMessageQt, EmptyTitle_staysBlankInsteadOfTheProgramsName) {
    QCoreApplication::setApplicationName(QStringLiteral("Tarvane"));

    const BoiteVue vue = montrerEtRepondre(nullptr, QStringLiteral("texte"), vbCritical, QString());

    ASSERT_TRUE(vue.vue);
    EXPECT_FALSE(vue.titre.isEmpty()) << "an empty title would be replaced by the program's name";
    EXPECT_EQ(vue.titre.trimmed(), QString());
}

} // namespace
