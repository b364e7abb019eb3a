#pragma once
// Channel settings, calibration and module settings: the screens of this library, added to the program's registry
// (they replace the placeholders registered by the shell).
namespace ostrel {

class Registre_Formes;
void Enregistrer_Formes_Configuration(Registre_Formes& registre);

}  // namespace ostrel
