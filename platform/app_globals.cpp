#include "app_globals.h"

AppGlobals& Globals() {
  static AppGlobals globals;
  return globals;
}
