/* a block comment on one line */ int after = 1;
/** javadoc
 * continued, with a "string" and 'c' inside
 */
/*/ slash star slash does not close
   but this does */ x = 2;
/**/ y = 3; /***/ z = 4;
int a = 1; // a line comment with /* inside
// a line comment continued with a backslash \
this line is still a comment
// continued once more \
x
// back to code after a line of one character
code(); /* opened here
   and closed here */ more();
@Override
@SuppressWarnings("unchecked")
public @interface Marker { String value() default "x"; }
*/ stray close
/
