#pragma once
// The reception window: its controls, its load and the "Cancelar" button.
// The reception cycle runs on it (CicloRecepcion).
#include "reception/VistaRecepcion.h"

#include <QHash>
#include <QRect>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace reception {

class CicloRecepcion;

class Form1 : public QWidget, public VistaRecepcion {
    Q_OBJECT
public:
    explicit Form1(QWidget* padre = nullptr);
    ~Form1() override;

    // The load sequence. Start-up may end the program inside it.
    void Cargar();
    // The load, then the window shown: nothing in it can be pressed while
    // start-up may still be asking the operator.
    void Abrir();

    // VistaRecepcion
    QString TextoCuentas() const override;
    void SetTextoCuentas(const QString& texto) override;
    QString Estado() const override;
    void MostrarEstado(const QString& texto) override;
    bool EstadoALaVista() const override;
    void SetRangoBarra(int minimo, int maximo) override;
    void SetValorBarra(int valor) override;
    int MaximoBarra() const override;
    int ValorBarra() const override;
    bool Deshabilitado() const override;
    std::int16_t& CancelarRecepcion() override { return cancelarRecepcion_; }
    QString CarpetaAdjuntos() const override { return carpetaAdjuntos_; }
    void RestablecerPuntero() override;
    void MarcarImportando(bool importando) override;

    CicloRecepcion& Ciclo() { return *ciclo_; }
    QComboBox* CmbCuentas() const { return cmbCuentas_; }
    QTimer* Timer2() const { return timer2_; }
    QPushButton* CmdRecibir() const { return cmdRecibir_; }
    QCheckBox* ChkHabilitar() const { return chkHabilitar_; }
    QPushButton* Command1() const { return command1_; }

protected:
    void changeEvent(QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void CrearControles();
    void AjustarAlTexto();
    void LlenarCuentas();
    void AsegurarCarpetaAdjuntos();
    void AsegurarCarpetaMails();
    void MostrarValorBarra();

    QPushButton* cmdRecibir_;
    QComboBox* cmbCuentas_;
    QLabel* lblStatus_;
    QProgressBar* pbMail_;
    // PbMail's value. Out of sight the bar is only told when the window is
    // shown again: hidden, each new value costs Qt a repaint request.
    int valorBarra_ = 0;
    QCheckBox* chkHabilitar_;
    QPushButton* cmdCancelar_;
    QPushButton* command2_;
    QPushButton* command1_;
    QTimer* timer2_;
    // Each visible control's place in the design, before fitting its text.
    QHash<QWidget*, QRect> diseno_;

    std::int16_t cancelarRecepcion_ = 0;
    QString carpetaAdjuntos_;
    std::unique_ptr<CicloRecepcion> ciclo_;
};

}  // namespace reception
