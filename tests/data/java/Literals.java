String s = "plain";
String e = "with \" escaped quote";
String b = "ends in two backslashes \\";
int after = 0;
String open = "runs on
to the next line";
char c = 'a'; char q = '\''; char bs = '\\';
it's not a character literal
String u = "\u0022"; char uc = '\u0041';
String \u0061 = "unicode escape in an identifier";
String block = """
    a text block with "quotes" inside
    """;
"at column zero" + x;
'z' == c;
f("a", "b");
foo (a); bar
a.b; x.y.z(); 3.14; .5; 1.e5;
