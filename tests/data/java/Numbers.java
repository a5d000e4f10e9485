int x = 10;
long h = 0x1F + 0X1F + 0x1G + 0x;
double d = 3.14 + 1e5 + 1E-5 + 2.5e+3 + 1.5f + 10L + 1_000;
int o = 017 + 0b101 + 9;
if (a<=b && c!=d || !e) { i++; j--; k += 2; }
return (int) value >>> 3;
synchronized threadsafe byvalue volatile strictfp assert enum var;
Integer.MAX_VALUE / 1024;
while (true) { do { break; } while (false); continue; }
for (int i = 0; i < n; i++) switch (i) { case 1: default: return; }
try { throw new Error(); } catch (Exception e) { } finally { }
