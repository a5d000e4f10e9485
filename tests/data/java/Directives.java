int b = 2 # not a directive after code
   # indented directive
#define NAME value
#include "file" /* a comment inside a directive */ still directive
int c = 3; // the directive state stays
