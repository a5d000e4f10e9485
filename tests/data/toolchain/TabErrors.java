public class TabErrors {
	void a() {
		int q = "s";
	}
	void b() {
	    String s = 5;	int t = "u";
	}
}
